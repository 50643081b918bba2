#include "cli/modelchoice.h"

#include <gtest/gtest.h>

#include "devices/loaddevices.h"

namespace qm::cli {
namespace {

DeviceTable table() {
    return parsedevices(
               "model: 16F84A\nflash: 1024\neeprom: 64\n"
               "model: PIC 16F628A\nflash: 2048 words\neeprom: 128\n"
               "model: 16f84a\nflash: 99\neeprom: x\n")
        .table;
}

TEST(CliModelChoice, ListingReadsSizesAsActivationDoes) {
    EXPECT_EQ(modellisting(table()),
              "Number  Model        FLASH words  EEPROM bytes\n"
              "     1  16F84A              1024            64\n"
              "     2  PIC 16F628A         2048           128\n"
              "     3  16f84a                99             0\n");
}

}  // namespace
}  // namespace qm::cli
