#include "sim/picchip.h"

#include <gtest/gtest.h>

#include "core/sim/simrig.h"
#include "host/virtualclock.h"

namespace qm::test {
namespace {

TEST(PicChipCounter, WrapsWithinUserAndConfigurationSpace) {
    SimRig rig("16F877A");
    rig.chip.setcommandlogging(false);
    rig.chip.setflashword(0, 0x0ABC);
    rig.begin();
    rig.increment(0x1FFF);
    EXPECT_EQ(rig.chip.pc(), 0x1FFF);
    rig.increment();
    EXPECT_EQ(rig.chip.pc(), 0x0000);
    EXPECT_EQ(rig.read(0x04), 0x0ABC);

    rig.load(0x00, 0x3FFF);
    rig.increment(0x1FFF);
    EXPECT_EQ(rig.chip.pc(), 0x3FFF);
    rig.increment();
    EXPECT_EQ(rig.chip.pc(), 0x2000);  // never back to user space
    rig.load(0x00, 0x3FFF);            // Load Configuration inside configuration space: 2000h again
    EXPECT_EQ(rig.chip.pc(), 0x2000);

    rig.end();
    rig.begin();  // only a new entry leaves configuration space
    EXPECT_EQ(rig.chip.pc(), 0x0000);
    EXPECT_EQ(rig.read(0x04), 0x0ABC);
    rig.end();
    EXPECT_EQ(rig.chip.count(ChipEventKind::kCommand), 0);  // logging was off
    EXPECT_EQ(rig.chip.count(ChipEventKind::kPowerOn), 2);
    EXPECT_EQ(rig.chip.count(ChipEventKind::kPowerOff), 2);
}

TEST(PicChipWire, ReadsAndLoadsKeepTheBitOrderOfEveryBit) {
    SimRig rig("16F88");
    rig.begin();
    for (int32_t value : {0x0001, 0x2000, 0x2AAA, 0x1555, 0x0000, 0x3FFF}) {
        rig.load(0x02, value);
        rig.cmd(0x18);
        rig.wait(1);
        rig.cmd(0x17);
        EXPECT_EQ(rig.read(0x04), value) << value;
        rig.increment();
    }
    rig.end();
    EXPECT_EQ(rig.chip.flashword(2), 0x2AAA);
    // Every load shows up decoded with its data and the PC it went to.
    const ChipEvent* load = nullptr;
    for (const ChipEvent& e : rig.chip.log()) {
        if (e.kind == ChipEventKind::kCommand && e.command == 0x02 && e.pc == 3) load = &e;
    }
    ASSERT_NE(load, nullptr);
    EXPECT_EQ(load->data, 0x1555);
    // The chip lets go of DATA after each read, so the adapter reads DATA OUT again.
    EXPECT_FALSE(rig.chip.drivesdata());
}

TEST(PicChipWire, NothingHappensWithoutSupplyAndPowerUpStartsClean) {
    SimRig rig("16F84A");
    rig.load(0x02, 0x0000);  // chip not powered
    rig.cmd(0x08);
    rig.cmd(0x06);
    EXPECT_TRUE(rig.chip.log().empty());
    EXPECT_EQ(rig.chip.flashword(0), 0x3FFF);

    rig.begin();
    rig.increment(2);
    rig.load(0x02, 0x0000);  // a load, then power is lost: the latch does not survive
    rig.end();
    rig.begin();
    EXPECT_EQ(rig.chip.pc(), 0);
    rig.cmd(0x08);
    rig.wait(8);
    rig.end();
    EXPECT_EQ(rig.chip.flashword(0), 0x3FFF);
    EXPECT_EQ(rig.chip.flashword(2), 0x3FFF);
    EXPECT_EQ(rig.ignored(), std::vector<std::string>{"begin programming without a load"});
}

TEST(PicChipWire, PowerOnWithClockOrDataHighIsAProtocolFault) {
    SimRig rig("16F628A");
    const struct {
        bool clock, data;
        const char* fault;
    } cases[] = {
        {true, false, "power on with CLOCK high; programming mode needs both low"},
        {false, true, "power on with DATA high; programming mode needs both low"},
        {true, true, "power on with CLOCK and DATA high; programming mode needs both low"},
        {false, false, nullptr},
    };
    for (const auto& c : cases) {
        rig.chip.clearlog();
        rig.adapter.setrts(c.clock);
        rig.adapter.setdtr(c.data);
        rig.begin();
        const ChipEvent* fault = rig.chip.last(ChipEventKind::kProtocolFault);
        ASSERT_EQ(fault != nullptr, c.fault != nullptr);
        if (fault != nullptr) {
            EXPECT_EQ(fault->text, c.fault);
            EXPECT_TRUE(isfault(fault->kind));
        }
        rig.adapter.setrts(false);
        rig.adapter.setdtr(false);
        rig.end();
    }
}

TEST(PicChipWire, PowerLossInTheMiddleOfAWordIsLoggedAndForgotten) {
    SimRig rig("16F84A");
    rig.begin();
    rig.driver.sendcmd(0x02);  // command without its data word
    rig.driver.clockhigh();
    rig.driver.clocklow();
    rig.end();
    const ChipEvent* incomplete = rig.chip.last(ChipEventKind::kIncompleteCommand);
    ASSERT_NE(incomplete, nullptr);
    EXPECT_EQ(incomplete->command, 0x02);
    rig.begin();
    rig.load(0x02, 0x0123);  // decodes cleanly after the new entry
    rig.cmd(0x08);
    rig.wait(8);
    rig.end();
    EXPECT_EQ(rig.chip.flashword(0), 0x0123);
}

TEST(PicChipWire, UnknownCommandTakesNoDataWord) {
    // A script that sends data after an unknown command desynchronises the chip, as a real one
    // would: the data clocks are read as command bits.
    SimRig rig("16F628A");
    rig.begin();
    rig.load(0x18, 0x0003);  // after 18h: start bit 0, then data bits 1, 1, 0, 0, 0 -> a 06h
    rig.end();
    EXPECT_EQ(rig.chip.count(ChipEventKind::kUnknownCommand), 1);
    bool sawincrement = false;
    for (const ChipEvent& e : rig.chip.log()) {
        if (e.kind == ChipEventKind::kCommand && e.command == 0x06) sawincrement = true;
    }
    EXPECT_TRUE(sawincrement);
}

TEST(PicChipMemory, DirectAccessStaysInsideTheChip) {
    VirtualClock clock;
    PicChip chip(chipfamilyformodel("16F84A", 0, 0), clock);
    EXPECT_EQ(chip.flashword(-1), -1);
    EXPECT_EQ(chip.flashword(1024), -1);
    EXPECT_EQ(chip.eeprombyte(64), -1);
    EXPECT_EQ(chip.configword(0x1FFF), -1);
    EXPECT_EQ(chip.configword(0x4000), -1);
    chip.setflashword(1024, 0);
    chip.seteeprombyte(-1, 0);
    chip.setconfigword(0x2006, 0);  // device ID is not writable
    chip.setconfigword(0x2008, 0);  // no CONFIG2
    EXPECT_EQ(chip.configword(0x2006), 0x0572);
    EXPECT_EQ(chip.configword(0x2008), 0x3FFF);
    EXPECT_EQ(chip.configword(0x2005), 0x3FFF);
    chip.setflashword(5, 0xFFFF);
    EXPECT_EQ(chip.flashword(5), 0x3FFF);
    chip.eraseall();
    EXPECT_EQ(chip.flash().size(), 1024u);
    EXPECT_EQ(chip.eeprom().size(), 64u);
}

TEST(PicChipGeneric, UnknownModelsGetModelSizesAnd84ACommands) {
    SimRig rig("16F1234", 512, 32);
    EXPECT_EQ(rig.chip.family().kind, FamilyKind::kGeneric);
    ASSERT_EQ(rig.chip.flash().size(), 512u);
    ASSERT_EQ(rig.chip.eeprom().size(), 32u);
    rig.begin();
    rig.increment(512 + 33);  // mirrors onto word 33 and byte 1
    rig.load(0x02, 0x0033);
    rig.cmd(0x08);
    rig.wait(8);
    rig.load(0x03, 0x01);
    rig.cmd(0x08);
    rig.wait(8);
    rig.load(0x02, 0x3FFF);
    rig.cmd(0x09);
    rig.cmd(0x08);
    rig.wait(5);  // half the bulk erase
    rig.end();
    EXPECT_EQ(rig.chip.flashword(33), 0x0033);
    EXPECT_EQ(rig.chip.eeprombyte(1), 0x01);
    EXPECT_EQ(rig.violations(),
              std::vector<std::string>{"power off at 5 ms into a 10 ms bulk erase cycle at 0221h"});
}

TEST(ChipEventText, DescribesEachKindOnOneLine) {
    EXPECT_EQ(formatms(std::chrono::microseconds(2100)), "2.1");
    EXPECT_EQ(formatms(std::chrono::microseconds(12345)), "12.345");
    EXPECT_EQ(formatms(std::chrono::microseconds(4000)), "4");
    EXPECT_EQ(formatms(std::chrono::microseconds(7)), "0.007");
    ChipEvent load{ChipEventKind::kCommand, std::chrono::microseconds(12345), 0x02, 0x3FFF, 5, {}};
    EXPECT_EQ(describe(load), "12.345 ms  command 02h data 3FFFh at 0005h");
    ChipEvent violation{ChipEventKind::kViolation,
                        std::chrono::microseconds(100),
                        6,
                        -1,
                        5,
                        "command 06h at 0.1 ms into a 4 ms programming cycle at 0005h"};
    EXPECT_EQ(describe(violation),
              "0.1 ms  timing violation: command 06h at 0.1 ms into a 4 ms programming cycle at "
              "0005h");
    ChipEvent ignored{
        ChipEventKind::kIgnored,           std::chrono::microseconds(0), 8, -1, 0x2000,
        "begin programming without a load"};
    EXPECT_EQ(describe(ignored),
              "0 ms  command 08h ignored at 2000h: begin programming without a load");
}

}  // namespace
}  // namespace qm::test
