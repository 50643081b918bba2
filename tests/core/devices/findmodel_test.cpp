#include "devices/findmodel.h"

#include <gtest/gtest.h>

#include "devices/loaddevices.h"

namespace qm {
namespace {

DeviceTable table() {
    return parsedevices(
               "model: 16F84A\nflash: 1024\neeprom: 64\n"
               "model: PIC 16F628A\nflash: 2048 words\neeprom: 128\n"
               "model: 16f84a\nflash: 99\neeprom: x\n")
        .table;
}

TEST(FindModel, ByNumberOrByNameInAnyCase) {
    const DeviceTable t = table();
    EXPECT_EQ(findmodel(t, "2"), 2);
    EXPECT_EQ(findmodel(t, "3"), 3);
    EXPECT_EQ(findmodel(t, "pic 16f628a"), 2);
    // Two models of the same name: the first one.
    EXPECT_EQ(findmodel(t, "16F84A"), 1);
    // The part's name as printed on the chip; "PIC" and a number is no model number.
    EXPECT_EQ(findmodel(t, "PIC16F84A"), 1);
    EXPECT_EQ(findmodel(t, "pic2"), 0);
    for (const char* unknown : {"0", "4", "16F628A", "", "2.0", " 2", "99999999999", "PIC"}) {
        EXPECT_EQ(findmodel(t, unknown), 0) << unknown;
    }
}

}  // namespace
}  // namespace qm
