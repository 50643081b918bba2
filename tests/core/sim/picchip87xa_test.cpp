#include <gtest/gtest.h>

#include "core/sim/simrig.h"

namespace qm::test {
namespace {

// Loads slots 0-7 of the block at `base` (the PC must be at base) and leaves the PC on slot 7.
void loadblock(SimRig& rig, int32_t base) {
    for (int32_t slot = 0; slot < 8; ++slot) {
        rig.load(0x02, base + slot);
        if (slot < 7) rig.increment();
    }
}

TEST(PicChip87xA, EightWordLatchWritesTheBlockThatHoldsThePc) {
    SimRig rig("PIC16F877A");
    rig.begin();
    rig.increment(0x10);
    loadblock(rig, 0x10);
    EXPECT_EQ(rig.chip.flashword(0x10), 0x3FFF);  // nothing written before the begin
    rig.cmd(0x08);
    rig.wait(8);
    rig.increment();
    loadblock(rig, 0x18);
    rig.cmd(0x18);
    rig.wait(1);
    rig.cmd(0x17);
    rig.end();
    for (int32_t a = 0x10; a < 0x20; ++a) EXPECT_EQ(rig.chip.flashword(a), a) << a;
    EXPECT_EQ(rig.chip.flashword(0x0F), 0x3FFF);
    EXPECT_EQ(rig.chip.flashword(0x20), 0x3FFF);
    EXPECT_TRUE(rig.violations().empty());
}

TEST(PicChip87xA, ACutBlockCycleLosesAllEightWords) {
    SimRig rig("16F877A");
    rig.begin();
    loadblock(rig, 0x100);
    rig.cmd(0x08);
    rig.wait(7);
    rig.increment();
    rig.end();
    for (int32_t a = 0; a < 8; ++a) EXPECT_EQ(rig.chip.flashword(a), 0x3FFF) << a;
    EXPECT_EQ(rig.violations(), std::vector<std::string>{
                                    "command 06h at 7 ms into a 8 ms programming cycle at 0007h"});
}

TEST(PicChip87xA, UnloadedSlotsEraseWith08hAndStayWith18h) {
    SimRig rig("16F877A");
    for (int32_t a = 0; a < 16; ++a) rig.chip.setflashword(a, 0x1000 + a);
    rig.begin();
    rig.increment(3);
    rig.load(0x02, 0x0003);  // slot 3 only
    rig.cmd(0x08);
    rig.wait(8);
    rig.increment(8);  // PC 11: slot 3 of the next block
    rig.load(0x02, 0x0003);
    rig.cmd(0x18);
    rig.wait(1);
    rig.cmd(0x17);
    rig.end();
    for (int32_t a = 0; a < 8; ++a) EXPECT_EQ(rig.chip.flashword(a), a == 3 ? 0x0003 : 0x3FFF);
    for (int32_t a = 8; a < 16; ++a) {
        EXPECT_EQ(rig.chip.flashword(a), a == 11 ? (0x100B & 0x0003) : 0x1000 + a);
    }
}

TEST(PicChip87xA, ExternallyTimedProgrammingNeedsEndProgrammingInTime) {
    SimRig rig("16F877A");
    rig.begin();
    rig.load(0x02, 0x0000);
    rig.cmd(0x18);
    rig.waitus(500);
    rig.cmd(0x17);  // too early
    rig.waitus(100);
    rig.increment();
    rig.load(0x02, 0x0000);
    rig.cmd(0x18);
    rig.wait(5);
    rig.increment();  // no End Programming at all
    rig.load(0x02, 0x0000);
    rig.cmd(0x18);
    rig.wait(1);
    rig.end();  // nor here
    EXPECT_EQ(rig.chip.flashword(0), 0x3FFF);
    EXPECT_EQ(rig.chip.flashword(1), 0x3FFF);
    EXPECT_EQ(rig.chip.flashword(2), 0x3FFF);
    EXPECT_EQ(rig.violations(),
              (std::vector<std::string>{
                  "command 17h at 0.5 ms into a 1 ms programming cycle at 0000h",
                  "command 06h at 5 ms into an externally timed programming cycle at 0001h, "
                  "which only End Programming ends",
                  "power off at 1 ms into an externally timed programming cycle at 0002h, "
                  "which only End Programming ends"}));
}

TEST(PicChip87xA, EepromAndConfigurationAreSingleLocations) {
    SimRig rig("16F876A");
    rig.begin();
    rig.increment(0x1FF);  // EEPROM 256 bytes: PC 1FFh is byte FFh
    rig.load(0x03, 0x77);
    rig.cmd(0x08);
    rig.wait(8);
    EXPECT_EQ(rig.read(0x05), 0x77);
    rig.end();
    EXPECT_EQ(rig.chip.eeprombyte(0xFF), 0x77);
    EXPECT_EQ(rig.chip.flashword(0x1F8), 0x3FFF);  // the 8-word latch was not involved

    rig.begin();
    rig.toconfig(0x2006);
    EXPECT_EQ(rig.read(0x04), 0x0E07);  // ID 0E00h, revision 7
    rig.increment();
    rig.load(0x02, 0x2F42);
    rig.cmd(0x08);
    rig.wait(8);
    EXPECT_EQ(rig.read(0x04), 0x2F42);  // unimplemented bits read 0
    rig.end();
    EXPECT_EQ(rig.chip.configword(0x2000), 0x3FFF);
    EXPECT_TRUE(rig.violations().empty());
}

TEST(PicChip87xA, ChipEraseScopeAndTime) {
    SimRig rig("16F877A");
    auto fill = [&rig] {
        rig.chip.setflashword(0x1FFF, 0x0000);
        rig.chip.seteeprombyte(0xFF, 0x00);
        rig.chip.setconfigword(0x2003, 0x0000);
        rig.chip.setconfigword(0x2007, 0x0000);  // protected
    };
    fill();
    rig.begin();
    rig.cmd(0x1F);  // from user space: IDs stay
    rig.wait(15);
    rig.end();
    EXPECT_EQ(rig.chip.flashword(0x1FFF), 0x3FFF);
    EXPECT_EQ(rig.chip.eeprombyte(0xFF), 0xFF);
    EXPECT_EQ(rig.chip.configword(0x2007), 0x2FCF);
    EXPECT_EQ(rig.chip.configword(0x2003), 0x0000);

    fill();
    rig.begin();
    rig.load(0x00, 0x3FFF);
    rig.cmd(0x1F);
    rig.wait(15);
    rig.end();
    EXPECT_EQ(rig.chip.configword(0x2003), 0x3FFF);
    EXPECT_TRUE(rig.violations().empty());

    fill();
    rig.begin();
    rig.load(0x00, 0x3FFF);
    rig.cmd(0x1F);
    rig.wait(10);
    rig.end();
    EXPECT_EQ(rig.chip.flashword(0x1FFF), 0x0000);
    EXPECT_EQ(rig.chip.configword(0x2007), 0x0000);  // still protected
    EXPECT_EQ(rig.violations(), std::vector<std::string>{
                                    "power off at 10 ms into a 15 ms chip erase cycle at 2000h"});
}

}  // namespace
}  // namespace qm::test
