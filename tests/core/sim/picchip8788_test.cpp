#include <gtest/gtest.h>

#include "core/sim/simrig.h"

namespace qm::test {
namespace {

TEST(PicChip8788, FourWordBlockAndEepromByteWithTheRightWaits) {
    SimRig rig("PIC16F88");
    rig.begin();
    rig.increment(4);
    for (int32_t slot = 0; slot < 4; ++slot) {
        rig.load(0x02, 0x0100 + slot);
        if (slot < 3) rig.increment();
    }
    rig.cmd(0x18);
    rig.wait(1);
    rig.cmd(0x17);
    rig.waitus(100);
    rig.increment();
    rig.load(0x03, 0x3C);  // PC 8: EEPROM byte 8
    rig.cmd(0x18);
    rig.wait(2);
    rig.cmd(0x17);
    rig.waitus(100);
    EXPECT_EQ(rig.read(0x05), 0x3C);
    rig.end();
    for (int32_t a = 4; a < 8; ++a) EXPECT_EQ(rig.chip.flashword(a), 0x0100 + a - 4) << a;
    EXPECT_EQ(rig.chip.flashword(3), 0x3FFF);
    EXPECT_EQ(rig.chip.flashword(8), 0x3FFF);
    EXPECT_EQ(rig.chip.eeprombyte(8), 0x3C);
    EXPECT_TRUE(rig.violations().empty());
}

TEST(PicChip8788, EndProgrammingTooEarlyOrMissingLosesTheWrite) {
    SimRig rig("16F87");
    rig.begin();
    rig.load(0x03, 0x00);
    rig.cmd(0x18);
    rig.wait(1);  // code would be done, data needs 2 ms
    rig.cmd(0x17);
    rig.waitus(100);
    rig.load(0x02, 0x0000);
    rig.cmd(0x08);  // externally timed as well: needs 17h
    rig.wait(5);
    rig.increment();
    rig.end();
    EXPECT_EQ(rig.chip.eeprombyte(0), 0xFF);
    EXPECT_EQ(rig.chip.flashword(0), 0x3FFF);
    EXPECT_EQ(rig.violations(),
              (std::vector<std::string>{
                  "command 17h at 1 ms into a 2 ms programming cycle at 0000h",
                  "command 06h at 5 ms into an externally timed programming cycle at 0000h, "
                  "which only End Programming ends"}));
}

TEST(PicChip8788, BothConfigurationWordsThroughLoadConfiguration) {
    SimRig rig("16F88");
    rig.begin();
    rig.toconfig(0x2006);
    EXPECT_EQ(rig.read(0x04), 0x0767);  // ID 0760h, revision 7
    rig.increment();
    rig.load(0x02, 0x2F50);
    rig.cmd(0x18);
    rig.wait(1);
    rig.cmd(0x17);
    rig.waitus(100);
    rig.increment();
    EXPECT_EQ(rig.read(0x04), 0x0003);  // CONFIG2 erased
    rig.load(0x02, 0x3FFE);
    rig.cmd(0x18);
    rig.wait(1);
    rig.cmd(0x17);
    rig.waitus(100);
    EXPECT_EQ(rig.read(0x04), 0x0002);  // bits 13:2 unimplemented, read 0
    rig.end();
    EXPECT_EQ(rig.chip.configword(0x2007), 0x2F50);
    EXPECT_EQ(rig.chip.configword(0x2008), 0x0002);
    EXPECT_TRUE(rig.violations().empty());
}

TEST(PicChip8788, ProgramOnlyClearsBitsAndChipEraseResetsEverything) {
    SimRig rig("16F88");
    rig.begin();
    rig.load(0x02, 0x00FF);
    rig.cmd(0x18);
    rig.wait(1);
    rig.cmd(0x17);
    rig.waitus(100);
    rig.load(0x02, 0x3F0F);
    rig.cmd(0x18);
    rig.wait(1);
    rig.cmd(0x17);
    rig.waitus(100);
    EXPECT_EQ(rig.read(0x04), 0x000F);
    rig.end();

    rig.chip.seteeprombyte(0, 0x00);
    rig.chip.setconfigword(0x2007, 0x0000);
    rig.chip.setconfigword(0x2008, 0x0000);
    rig.chip.setconfigword(0x2001, 0x0000);
    rig.begin();
    rig.load(0x00, 0x3FFF);
    rig.cmd(0x1F);
    rig.wait(10);
    rig.end();
    EXPECT_EQ(rig.chip.flashword(0), 0x3FFF);
    EXPECT_EQ(rig.chip.eeprombyte(0), 0xFF);
    EXPECT_EQ(rig.chip.configword(0x2007), 0x3FFF);
    EXPECT_EQ(rig.chip.configword(0x2008), 0x0003);
    EXPECT_EQ(rig.chip.configword(0x2001), 0x3FFF);
    EXPECT_TRUE(rig.violations().empty());
}

}  // namespace
}  // namespace qm::test
