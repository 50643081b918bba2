#include "engine/elapsedtext.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

using std::chrono::microseconds;
using std::chrono::milliseconds;

TEST(ElapsedText, WholeSecondsAndTruncatedHundredths) {
    EXPECT_EQ(elapsedtext(milliseconds(500)), "0.50");
    EXPECT_EQ(elapsedtext(milliseconds(3250)), "3.25");
    EXPECT_EQ(elapsedtext(milliseconds(7000)), "7.00");
    EXPECT_EQ(elapsedtext(milliseconds(7250)), "7.25");
    EXPECT_EQ(elapsedtext(milliseconds(7500)), "7.50");
    EXPECT_EQ(elapsedtext(milliseconds(12000)), "12.00");
    EXPECT_EQ(elapsedtext(milliseconds(59999)), "59.99");  // truncated, not rounded
    EXPECT_EQ(elapsedtext(microseconds(9999)), "0.00");
    EXPECT_EQ(elapsedtext(microseconds(0)), "0.00");
    EXPECT_EQ(elapsedtext(std::chrono::hours(25)), "90000.00");
    EXPECT_EQ(elapsedtext(microseconds(-5)), "0.00");
}

}  // namespace
}  // namespace qm
