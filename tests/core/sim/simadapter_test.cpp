#include "sim/simadapter.h"

#include <gtest/gtest.h>

#include "core/sim/simrig.h"
#include "host/virtualclock.h"

namespace qm::test {
namespace {

TEST(SimAdapterPort, RefusesChosenNamesAndRecoversOnTheNextOpen) {
    SimAdapter adapter;
    adapter.setunavailable({"/dev/ttyS1", "COM3"});
    EXPECT_FALSE(adapter.open("COM3", 9600));
    EXPECT_FALSE(adapter.isopen());
    EXPECT_EQ(adapter.errortext(), "the port COM3 cannot be opened");
    EXPECT_FALSE(adapter.open("/dev/ttyS0", 0));
    EXPECT_FALSE(adapter.isopen());
    EXPECT_TRUE(adapter.open("/dev/ttyS0", 9600));
    EXPECT_TRUE(adapter.isopen());
    EXPECT_EQ(adapter.errortext(), "");
    EXPECT_EQ(adapter.portname(), "/dev/ttyS0");
    EXPECT_EQ(adapter.baud(), 9600);
}

TEST(SimAdapterPort, LosesThePortAfterTheChosenNumberOfOperations) {
    VirtualClock clock;
    PicChip chip(chipfamilyformodel("16F84A", 0, 0), clock);
    SimAdapter adapter(&chip);
    ASSERT_TRUE(adapter.open("sim", 9600));
    adapter.failafter(3);
    adapter.sendbyte(0x01);
    adapter.setdtr(true);
    EXPECT_TRUE(adapter.dsr());
    EXPECT_FALSE(adapter.failed());
    adapter.setrts(true);  // the fourth: lost
    EXPECT_TRUE(adapter.failed());
    EXPECT_EQ(adapter.errortext(), "the serial port was lost");
    EXPECT_FALSE(adapter.rts());
    adapter.sendbyte(0x01);
    EXPECT_TRUE(adapter.supply());
    EXPECT_TRUE(chip.supplied());
    EXPECT_FALSE(adapter.dsr());  // DATA OUT is still high, but nothing comes through
    EXPECT_EQ(adapter.lineoperations(), 3);

    ASSERT_TRUE(adapter.open("sim", 9600));
    EXPECT_FALSE(adapter.failed());
    EXPECT_EQ(adapter.errortext(), "");
    adapter.setdtr(true);
    EXPECT_TRUE(adapter.dsr());
}

TEST(SimAdapterPort, ClosedPortChangesNothing) {
    VirtualClock clock;
    PicChip chip(chipfamilyformodel("16F84A", 0, 0), clock);
    SimAdapter adapter(&chip);
    adapter.sendbyte(0x01);
    adapter.setdtr(true);
    EXPECT_FALSE(adapter.supply());
    EXPECT_FALSE(adapter.dsr());
    EXPECT_EQ(adapter.lineoperations(), 0);
    ASSERT_TRUE(adapter.open("sim", 9600));
    adapter.setdtr(true);
    adapter.setrts(true);
    adapter.close();
    EXPECT_FALSE(adapter.dtr());
    EXPECT_FALSE(adapter.rts());
}

TEST(SimAdapterLines, OnlyToggleBytesSwitchTheSupply) {
    VirtualClock clock;
    PicChip chip(chipfamilyformodel("16F84A", 0, 0), clock);
    SimAdapter adapter(&chip);
    ASSERT_TRUE(adapter.open("sim", 9600));
    adapter.sendbyte(0x02);
    adapter.sendbyte(0xFF);
    EXPECT_FALSE(chip.supplied());
    adapter.sendbyte(0x01);
    EXPECT_TRUE(chip.supplied());
    adapter.sendbyte(0x01);
    EXPECT_FALSE(chip.supplied());
    EXPECT_EQ(adapter.bytessent(), 4);
    EXPECT_EQ(chip.count(ChipEventKind::kPowerOn), 1);
    EXPECT_EQ(chip.count(ChipEventKind::kPowerOff), 1);
}

TEST(SimAdapterLines, DsrShowsTheChipOnlyWhileItDrivesData) {
    SimRig rig("16F84A");
    rig.chip.setflashword(0, 0x0000);
    rig.begin();
    rig.driver.datahigh();
    EXPECT_EQ(rig.driver.datain(), 1);  // DATA OUT read back
    rig.driver.datalow();
    EXPECT_EQ(rig.driver.datain(), 0);
    EXPECT_EQ(rig.read(0x04), 0x0000);  // the chip pulls the line low against DATA OUT high
    rig.driver.datahigh();
    EXPECT_EQ(rig.driver.datain(), 1);  // and lets go after the word
    rig.end();

    SimAdapter empty;
    ASSERT_TRUE(empty.open("sim", 9600));
    empty.setdtr(true);
    EXPECT_TRUE(empty.dsr());
}

// A whole 16F877A through the line driver, as the engine will run it: every block written and
// every word read back, on virtual time.
TEST(SimAdapterWholeChip, ProgramsAndVerifiesAll8KWords) {
    SimRig rig("16F877A");
    rig.chip.setcommandlogging(false);
    auto pattern = [](int32_t a) { return (a * 0x2F1 + 0x155) & 0x3FFF; };
    rig.begin();
    for (int32_t a = 0; a < 0x2000; ++a) {
        rig.load(0x02, pattern(a));
        if ((a & 7) == 7) {
            rig.cmd(0x08);
            rig.wait(8);
        }
        rig.increment();
    }
    rig.end();
    rig.begin();
    int32_t mismatches = 0;
    for (int32_t a = 0; a < 0x2000; ++a) {
        if (rig.read(0x04) != pattern(a)) ++mismatches;
        rig.increment();
    }
    rig.end();
    EXPECT_EQ(mismatches, 0);
    EXPECT_TRUE(rig.violations().empty());
    EXPECT_EQ(rig.chip.flashword(0x1FFF), pattern(0x1FFF));
}

}  // namespace
}  // namespace qm::test
