#include "text/leadingnumber.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

TEST(LeadingNumber, TakesTheDecimalNumberAtTheStart) {
    EXPECT_EQ(leadingnumber("1024"), 1024);
    EXPECT_EQ(leadingnumber("1024 words"), 1024);
    EXPECT_EQ(leadingnumber("12abc"), 12);
    EXPECT_EQ(leadingnumber("-64"), -64);
    EXPECT_EQ(leadingnumber("+7"), 7);
}

TEST(LeadingNumber, SkipsLeadingBlanksOnly) {
    EXPECT_EQ(leadingnumber("   42"), 42);
    EXPECT_EQ(leadingnumber("\t 3: text"), 3);
    EXPECT_EQ(leadingnumber("4 2"), 4);
}

TEST(LeadingNumber, TextWithoutALeadingNumberIsZero) {
    EXPECT_EQ(leadingnumber(""), 0);
    EXPECT_EQ(leadingnumber("words"), 0);
    EXPECT_EQ(leadingnumber("com5"), 0);
    EXPECT_EQ(leadingnumber("-"), 0);
    EXPECT_EQ(leadingnumber("x12"), 0);
}

TEST(LeadingNumber, FractionsRoundHalvesToTheEvenNeighbour) {
    EXPECT_EQ(leadingnumber("0.5"), 0);
    EXPECT_EQ(leadingnumber("1.5"), 2);
    EXPECT_EQ(leadingnumber("2.5"), 2);
    EXPECT_EQ(leadingnumber("3.5"), 4);
    EXPECT_EQ(leadingnumber("2.50001"), 3);
    EXPECT_EQ(leadingnumber("7.2"), 7);
    EXPECT_EQ(leadingnumber("16.4"), 16);
    EXPECT_EQ(leadingnumber("2.6"), 3);
    EXPECT_EQ(leadingnumber("-2.5"), -2);
    EXPECT_EQ(leadingnumber("-3.5"), -4);
    EXPECT_EQ(leadingnumber(".6"), 1);
    EXPECT_EQ(leadingnumber("5."), 5);
}

TEST(LeadingNumber, ClampsToThe32BitRange) {
    EXPECT_EQ(leadingnumber("99999999999999999999"), 2147483647);
    EXPECT_EQ(leadingnumber("-99999999999999999999"), -2147483647 - 1);
    EXPECT_EQ(leadingnumber("2147483647"), 2147483647);
}

}  // namespace
}  // namespace qm
