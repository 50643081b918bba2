#include <gtest/gtest.h>

#include "core/sim/simrig.h"

namespace qm::test {
namespace {

TEST(PicChip84A, ProgramsAWordAndAnEepromByteWithTheRightWaits) {
    SimRig rig("PIC16F84A");
    rig.begin();
    rig.increment(5);
    rig.load(0x02, 0x1234);
    rig.cmd(0x08);
    rig.wait(8);
    EXPECT_EQ(rig.read(0x04), 0x1234);
    // Data memory sits on the same counter: PC 5 is EEPROM byte 5.
    rig.load(0x03, 0x3FAB);
    rig.cmd(0x08);
    rig.wait(8);
    EXPECT_EQ(rig.read(0x05), 0xAB);  // bits 8-13 of a data read are 0
    rig.end();

    EXPECT_EQ(rig.chip.flashword(5), 0x1234);
    EXPECT_EQ(rig.chip.eeprombyte(5), 0xAB);
    EXPECT_TRUE(rig.violations().empty());
    // The erase+program cycle does not need a prior erase: a programmed word is overwritten.
    rig.begin();
    rig.increment(5);
    rig.load(0x02, 0x2BCD);
    rig.cmd(0x08);
    rig.wait(8);
    rig.end();
    EXPECT_EQ(rig.chip.flashword(5), 0x2BCD);
}

TEST(PicChip84A, ACommandBeforeTheCycleEndsLosesTheWriteAndSaysWhy) {
    SimRig rig("16f84a");
    rig.chip.setflashword(3, 0x0AAA);
    rig.begin();
    rig.increment(3);
    rig.load(0x02, 0x1555);
    rig.cmd(0x08);
    rig.waitus(2100);
    rig.increment();
    rig.load(0x03, 0x42);
    rig.cmd(0x08);
    rig.wait(7);
    rig.end();  // power goes before the 8 ms are over

    EXPECT_EQ(rig.chip.flashword(3), 0x0AAA);
    EXPECT_EQ(rig.chip.eeprombyte(4), 0xFF);
    ASSERT_EQ(rig.violations().size(), 2u);
    EXPECT_EQ(rig.violations()[0], "command 06h at 2.1 ms into a 8 ms programming cycle at 0003h");
    EXPECT_EQ(rig.violations()[1], "power off at 7 ms into a 8 ms programming cycle at 0004h");
}

TEST(PicChip84A, ConfigurationSpaceThroughLoadConfiguration) {
    SimRig rig("16F84A");
    rig.begin();
    rig.load(0x00, 0x0123);  // Load Configuration: PC 2000h, the word goes into the latch
    EXPECT_EQ(rig.chip.pc(), 0x2000);
    rig.cmd(0x08);
    rig.wait(8);
    EXPECT_EQ(rig.read(0x04), 0x0123);  // ID 0
    rig.increment(4);
    EXPECT_EQ(rig.read(0x04), 0x3FFF);  // 2004h, reserved
    rig.increment(2);
    EXPECT_EQ(rig.read(0x04), 0x0572);  // ID 0560h, revision 12h  // device ID
    rig.increment();
    rig.load(0x02, 0x3FF1);
    rig.cmd(0x08);
    rig.wait(8);
    EXPECT_EQ(rig.read(0x04), 0x3FF1);
    rig.end();
    EXPECT_EQ(rig.chip.configword(0x2000), 0x0123);
    EXPECT_EQ(rig.chip.configword(0x2007), 0x3FF1);
    EXPECT_TRUE(rig.violations().empty());
}

TEST(PicChip84A, BulkErasesNeedTheBeginCommandAndKeepToTheirMemory) {
    SimRig rig("16F84A");
    rig.chip.setflashword(0, 0x0000);
    rig.chip.setflashword(1023, 0x1111);
    rig.chip.seteeprombyte(63, 0x12);
    rig.chip.setconfigword(0x2007, 0x3FF5);

    rig.begin();
    rig.load(0x02, 0x3FFF);
    rig.cmd(0x09);
    rig.increment();  // anything between 09h and 08h disarms the erase: 08h programs PC 1
    rig.cmd(0x08);
    rig.wait(10);
    EXPECT_EQ(rig.chip.flashword(0), 0x0000);
    EXPECT_EQ(rig.chip.flashword(1023), 0x1111);

    rig.load(0x02, 0x3FFF);
    rig.cmd(0x09);
    rig.cmd(0x08);
    rig.wait(10);
    EXPECT_EQ(rig.chip.flashword(0), 0x3FFF);
    EXPECT_EQ(rig.chip.flashword(1023), 0x3FFF);
    EXPECT_EQ(rig.chip.eeprombyte(63), 0x12);
    EXPECT_EQ(rig.chip.configword(0x2007), 0x3FF5);

    rig.load(0x03, 0xFF);
    rig.cmd(0x0B);
    rig.cmd(0x08);
    rig.wait(9);
    rig.end();  // 9 of the 10 ms: the data erase is cut short
    EXPECT_EQ(rig.chip.eeprombyte(63), 0x12);
    ASSERT_EQ(rig.violations().size(), 1u);
    EXPECT_EQ(rig.violations()[0], "power off at 9 ms into a 10 ms bulk erase cycle at 0001h");
}

TEST(PicChip84A, ProtectedChipReadsZeroAndOnlyTheSetupSequenceErasesIt) {
    SimRig rig("16F84A");
    rig.chip.setflashword(0, 0x1234);
    rig.chip.seteeprombyte(0, 0x56);
    rig.chip.setconfigword(0x2007, 0x000F);  // all CP bits cleared
    ASSERT_TRUE(rig.chip.codeprotected());

    rig.begin();
    EXPECT_EQ(rig.read(0x04), 0);
    rig.load(0x02, 0x0000);
    rig.cmd(0x08);
    rig.wait(8);
    rig.load(0x02, 0x3FFF);
    rig.cmd(0x09);
    rig.cmd(0x08);
    rig.wait(10);
    rig.end();
    EXPECT_EQ(rig.chip.flashword(0), 0x1234);
    EXPECT_EQ(rig.ignored(), (std::vector<std::string>{"write to protected program memory",
                                                       "bulk erase of protected program memory"}));

    rig.begin();
    rig.toconfig(0x2007);
    rig.cmd(0x01);
    rig.cmd(0x07);
    rig.cmd(0x08);
    rig.wait(10);
    rig.cmd(0x01);
    rig.cmd(0x07);
    rig.end();
    EXPECT_FALSE(rig.chip.codeprotected());
    EXPECT_EQ(rig.chip.flashword(0), 0x3FFF);
    EXPECT_EQ(rig.chip.configword(0x2007), 0x3FFF);
    EXPECT_EQ(rig.chip.eeprombyte(0), 0x56);  // data needs its own erase
    EXPECT_TRUE(rig.violations().empty());
}

TEST(PicChip84A, UserMemoryMirrorsAboveOneK) {
    SimRig rig("16F84A");
    rig.chip.setflashword(1, 0x0777);
    rig.begin();
    rig.increment(0x401);
    EXPECT_EQ(rig.read(0x04), 0x0777);
    rig.load(0x02, 0x0123);
    rig.cmd(0x08);
    rig.wait(8);
    rig.end();
    EXPECT_EQ(rig.chip.flashword(1), 0x0123);
}

}  // namespace
}  // namespace qm::test
