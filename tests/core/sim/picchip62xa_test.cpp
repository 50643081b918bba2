#include <gtest/gtest.h>

#include "core/sim/simrig.h"

namespace qm::test {
namespace {

TEST(PicChip62xA, ProgramsAWordAndAnEepromByteWithTheRightWaits) {
    SimRig rig("PIC16F628A");
    rig.begin();
    rig.increment(0x7FF);  // last word of the 2K array
    rig.load(0x02, 0x2A55);
    rig.cmd(0x08);
    rig.wait(4);
    EXPECT_EQ(rig.read(0x04), 0x2A55);
    rig.load(0x03, 0x5A);  // PC 7FFh: EEPROM byte 7Fh of 128
    rig.cmd(0x08);
    rig.wait(6);
    EXPECT_EQ(rig.read(0x05), 0x5A);
    rig.end();
    EXPECT_EQ(rig.chip.flashword(0x7FF), 0x2A55);
    EXPECT_EQ(rig.chip.eeprombyte(0x7F), 0x5A);
    EXPECT_TRUE(rig.violations().empty());
}

TEST(PicChip62xA, ShortWaitsLoseTheWriteAndSayWhy) {
    SimRig rig("16F628A");
    rig.begin();
    rig.increment(3);
    rig.load(0x02, 0x0000);
    rig.cmd(0x08);
    rig.wait(3);
    rig.increment();  // 3 of 4 ms
    rig.load(0x03, 0x00);
    rig.cmd(0x08);
    rig.wait(5);
    EXPECT_EQ(rig.read(0x05), 0xFF);  // the read itself cuts the 6 ms data cycle
    rig.end();
    EXPECT_EQ(rig.chip.flashword(3), 0x3FFF);
    EXPECT_EQ(rig.chip.eeprombyte(4), 0xFF);
    EXPECT_EQ(rig.violations(), (std::vector<std::string>{
                                    "command 06h at 3 ms into a 4 ms programming cycle at 0003h",
                                    "command 05h at 5 ms into a 6 ms programming cycle at 0004h"}));
}

TEST(PicChip62xA, ProgrammingWithoutEraseOnlyClearsBits) {
    SimRig rig("16F627A");
    rig.chip.setflashword(0, 0x0F0F);
    rig.chip.seteeprombyte(0, 0x0F);
    rig.begin();
    rig.load(0x02, 0x3333);
    rig.cmd(0x08);
    rig.wait(4);
    rig.load(0x03, 0x33);
    rig.cmd(0x08);
    rig.wait(6);
    EXPECT_EQ(rig.read(0x04), 0x0303);
    EXPECT_EQ(rig.read(0x05), 0x03);
    rig.end();
}

TEST(PicChip62xA, ConfigurationWordKeepsOnlyImplementedBits) {
    SimRig rig("16F648A");
    rig.begin();
    rig.toconfig(0x2006);
    EXPECT_EQ(rig.read(0x04), 0x1112);  // ID 1100h, revision 12h
    rig.increment();
    EXPECT_EQ(rig.read(0x04), 0x21FF);  // erased, bits 12:9 read 0
    rig.load(0x02, 0x0010);
    rig.cmd(0x08);
    rig.wait(4);
    EXPECT_EQ(rig.read(0x04), 0x0010);  // bits 12:9 cannot be set
    rig.increment();
    EXPECT_EQ(rig.read(0x04), 0x3FFF);  // no CONFIG2 on this family
    rig.end();
    EXPECT_TRUE(rig.violations().empty());
}

TEST(PicChip62xA, BulkEraseScopeDependsOnTheProgramCounter) {
    SimRig rig("16F628A");
    auto fill = [&rig] {
        rig.chip.setflashword(0x10, 0x0000);
        rig.chip.seteeprombyte(0x10, 0x00);
        rig.chip.setconfigword(0x2000, 0x0001);
        rig.chip.setconfigword(0x2007, 0x0000);  // CP and CPD on
    };
    fill();
    rig.begin();
    rig.cmd(0x09);  // user space, protected chip: nothing
    rig.wait(6);
    rig.cmd(0x0B);  // data protected: nothing
    rig.wait(6);
    EXPECT_EQ(rig.read(0x04), 0);  // protected memory reads 0
    rig.end();
    EXPECT_EQ(rig.chip.flashword(0x10), 0x0000);
    EXPECT_EQ(rig.chip.eeprombyte(0x10), 0x00);
    EXPECT_EQ(rig.ignored().size(), 2u);

    rig.begin();
    rig.load(0x00, 0x3FFF);
    rig.cmd(0x09);  // from 2000h: program memory, configuration and IDs
    rig.wait(6);
    rig.cmd(0x0B);
    rig.wait(6);
    rig.end();
    EXPECT_EQ(rig.chip.flashword(0x10), 0x3FFF);
    EXPECT_EQ(rig.chip.eeprombyte(0x10), 0xFF);
    EXPECT_EQ(rig.chip.configword(0x2000), 0x3FFF);
    EXPECT_EQ(rig.chip.configword(0x2007), 0x21FF);

    rig.chip.setflashword(0x10, 0x0000);
    rig.chip.setconfigword(0x2000, 0x0001);
    rig.chip.setconfigword(0x2007, 0x3FFF & ~0x0100);  // CPD only
    rig.begin();
    rig.cmd(0x09);  // user space: program memory only
    rig.wait(5);
    rig.cmd(0x0B);  // cuts the erase short: it erased nothing
    rig.wait(6);
    rig.end();
    EXPECT_EQ(rig.chip.flashword(0x10), 0x0000);
    EXPECT_EQ(rig.chip.configword(0x2000), 0x0001);
    EXPECT_EQ(rig.violations(), std::vector<std::string>{
                                    "command 0Bh at 5 ms into a 6 ms bulk erase cycle at 0000h"});
}

TEST(PicChip62xA, CommandsOfOtherFamiliesAreUnknown) {
    SimRig rig("16F628A");
    rig.begin();
    rig.load(0x02, 0x0000);
    rig.cmd(0x18);
    rig.cmd(0x1F);
    rig.wait(10);
    rig.end();
    EXPECT_EQ(rig.chip.flashword(0), 0x3FFF);
    EXPECT_EQ(rig.chip.count(ChipEventKind::kUnknownCommand), 2);
    const ChipEvent* unknown = rig.chip.last(ChipEventKind::kUnknownCommand);
    ASSERT_NE(unknown, nullptr);
    EXPECT_EQ(unknown->command, 0x1F);
}

}  // namespace
}  // namespace qm::test
