#include "link/portselect.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "core/link/recordingport.h"
#include "core/testhost.h"
#include "devices/activemodel.h"
#include "link/linedriver.h"
#include "settings/memorysettingsstore.h"

namespace qm::test {
namespace {

using Op = RecordingPort::Op;

// Windows naming keeps the device names equal to the COM names, so texts are the plain ones.
struct PortRig {
    // Makes every COM port unopenable except the given ones.
    void openable(std::initializer_list<int> ports) {
        port.unopenable.clear();
        for (int n = 1; n <= 16; ++n) port.unopenable.insert("COM" + std::to_string(n));
        for (int n : ports) port.unopenable.erase("COM" + std::to_string(n));
    }
    void list() { listports(state, port, PortNaming::Windows); }
    bool open() { return openport(state, port, store, host, &driver, PortNaming::Windows); }
    void answer(std::string_view text) {
        menuportanswer(state, port, store, host, text, &driver, PortNaming::Windows);
    }

    TestHost host;
    RecordingPort port;
    MemorySettingsStore store;
    PortState state;
    ActiveModel model;
    LineDriver driver{port, host, model};
};

TEST(ProbePort, OpensAt9600AndClosesAgain) {
    PortRig rig;
    rig.openable({4});
    EXPECT_EQ(probeport(rig.port, 4, PortNaming::Windows), 1);
    ASSERT_EQ(rig.port.events.size(), 2u);
    EXPECT_EQ(rig.port.events[0].op, Op::Open);
    EXPECT_EQ(rig.port.events[0].name, "COM4");
    EXPECT_EQ(rig.port.events[0].value, 9600);
    EXPECT_EQ(rig.port.events[1].op, Op::Close);
    EXPECT_FALSE(rig.port.isopen());

    EXPECT_EQ(probeport(rig.port, 5, PortNaming::Windows), 0);
    EXPECT_FALSE(rig.port.isopen());
}

TEST(ProbePort, NeverDisturbsAnOpenPortOrTriesImpossibleNumbers) {
    PortRig rig;
    rig.openable({});
    EXPECT_EQ(probeport(rig.port, 0, PortNaming::Windows), 0);
    EXPECT_EQ(probeport(rig.port, 17, PortNaming::Windows), 0);
    EXPECT_TRUE(rig.port.events.empty());

    rig.openable({2});
    ASSERT_TRUE(rig.port.open("COM2", 56000));
    rig.port.events.clear();
    EXPECT_EQ(probeport(rig.port, 2, PortNaming::Windows), 0);
    EXPECT_TRUE(rig.port.events.empty());
    EXPECT_TRUE(rig.port.isopen());
}

TEST(ListPorts, ListsOpenablePortsAndPicksTheLastAsDefault) {
    PortRig rig;
    rig.openable({1, 3});
    rig.list();
    EXPECT_EQ(rig.state.portlist, "- Serial port COM1 available\r\n- Serial port COM3 available");
    EXPECT_EQ(rig.state.defaultport, 3);
    EXPECT_EQ(rig.port.eventsof(Op::Open).size(), 16u);

    // First run: the default lands in the store and COM3 is opened.
    EXPECT_TRUE(rig.open());
    EXPECT_EQ(rig.store.readnum("Serial Port Number"), 3);
    EXPECT_EQ(rig.host.status(), "Serial port COM3 ready...");
}

TEST(ListPorts, LinuxLinesShowTheDevicePath) {
    PortRig rig;
    rig.port.unopenable = {"/dev/ttyS0",   "/dev/ttyS2",   "/dev/ttyS3",   "/dev/ttyS4",
                           "/dev/ttyS5",   "/dev/ttyS6",   "/dev/ttyS7",   "/dev/ttyUSB1",
                           "/dev/ttyUSB2", "/dev/ttyUSB3", "/dev/ttyUSB4", "/dev/ttyUSB5",
                           "/dev/ttyUSB6", "/dev/ttyUSB7"};
    listports(rig.state, rig.port, PortNaming::Linux);
    EXPECT_EQ(rig.state.portlist,
              "- Serial port COM2 available (/dev/ttyS1)\r\n"
              "- Serial port COM9 available (/dev/ttyUSB0)");
    EXPECT_EQ(rig.state.defaultport, 9);
}

TEST(ListPorts, NoOpenablePortLeavesAnEmptyListAndDefaultTwo) {
    PortRig rig;
    rig.openable({});
    rig.state.defaultport = 7;
    rig.list();
    EXPECT_EQ(rig.state.portlist, "");
    EXPECT_EQ(rig.state.defaultport, 2);
    EXPECT_FALSE(rig.open());
    EXPECT_EQ(rig.store.readnum("Serial Port Number"), 2);
    EXPECT_EQ(rig.host.status(), "Serial port COM2 error!");
    EXPECT_EQ(portprompt(rig.state),
              "Please select programmer serial port number [1-16]:\r\n\r\n"
              "The list of COM ports that can be opened:");
}

TEST(PortPrompt, EndsWithThePortList) {
    PortState state;
    state.portlist = "- Serial port COM1 available\r\n- Serial port COM3 available";
    EXPECT_EQ(portprompt(state),
              "Please select programmer serial port number [1-16]:\r\n\r\n"
              "The list of COM ports that can be opened:\r\n"
              "- Serial port COM1 available\r\n- Serial port COM3 available");
}

TEST(OpenPort, UsesTheStoredNumberAndBaudRate) {
    PortRig rig;
    rig.openable({5});
    rig.store.writenum("Serial Port Number", 5);
    rig.store.writetext("Serial Port Baud Rate", "9600");
    EXPECT_TRUE(rig.open());
    EXPECT_TRUE(rig.state.portready);
    EXPECT_EQ(rig.state.portnumber, 5);
    EXPECT_EQ(rig.state.baudrate, "9600");
    EXPECT_EQ(rig.port.openname, "COM5");
    EXPECT_EQ(rig.port.openbaud, 9600);
    EXPECT_EQ(rig.host.statuses, std::vector<std::string>{"Serial port COM5 ready..."});
    EXPECT_TRUE(rig.host.msgboxes.empty());
}

TEST(OpenPort, FirstRunStoresDefaults) {
    PortRig rig;
    rig.openable({2});
    rig.list();
    EXPECT_TRUE(rig.open());
    EXPECT_EQ(rig.store.readtext("Serial Port Baud Rate"), "56000");
    EXPECT_EQ(rig.store.readnum("Line Hold Time"), 0);
    EXPECT_EQ(rig.port.openbaud, 56000);
}

TEST(OpenPort, FailureShowsTheComErrorAndClearsReady) {
    PortRig rig;
    rig.openable({3});
    rig.store.writenum("Serial Port Number", 3);
    ASSERT_TRUE(rig.open());
    rig.store.writenum("Serial Port Number", 4);
    EXPECT_FALSE(rig.open());
    EXPECT_FALSE(rig.state.portready);
    EXPECT_FALSE(rig.port.isopen());
    EXPECT_EQ(rig.host.status(), "Serial port COM4 error!");
    EXPECT_TRUE(rig.host.msgboxes.empty());
}

TEST(OpenPort, StoredNumberOutsideTheRangeFailsWithoutTryingADevice) {
    for (int32_t stored : {0, 17, -4}) {
        PortRig rig;
        rig.openable({1, 2, 3});
        rig.store.writenum("Serial Port Number", stored);
        EXPECT_FALSE(rig.open());
        EXPECT_TRUE(rig.port.eventsof(Op::Open).empty());
        EXPECT_EQ(rig.host.status(), "Serial port COM" + std::to_string(stored) + " error!");
    }
}

TEST(OpenPort, LineHoldTimeGoesToTheDriverWithinLimits) {
    struct Case {
        int32_t stored, applied;
    };
    for (Case c : {Case{250, 250}, Case{-3, 0}, Case{kMaxLineHoldTime, kMaxLineHoldTime},
                   Case{999999, kMaxLineHoldTime}}) {
        PortRig rig;
        rig.openable({2});
        rig.store.writenum("Line Hold Time", c.stored);
        rig.open();
        EXPECT_EQ(rig.state.holdtime, c.applied) << c.stored;
        EXPECT_EQ(rig.driver.holdtime(), c.applied) << c.stored;
    }
}

TEST(PortAnswers, ComPrefixAndNumberRule) {
    struct Case {
        const char* answer;
        int32_t port;  // 0: Wrong entry
    };
    for (Case c : {Case{"com7", 7},    Case{"COM7", 7},  Case{"Com7", 7},  Case{"7", 7},
                   Case{"7.2", 7},     Case{"16.4", 16}, Case{"16.5", 16}, Case{" 3", 3},
                   Case{"com 12", 12}, Case{"0.7", 1},   Case{"2.5", 2},   Case{"1", 1},
                   Case{"0.5", 0},     Case{"17", 0},    Case{"com", 0},   Case{"abc", 0},
                   Case{"0", 0},       Case{"-3", 0},    Case{"co7", 0},   Case{"16.6", 0}}) {
        const PortAnswer parsed = parseportanswer(c.answer);
        if (c.port == 0) {
            EXPECT_EQ(parsed.kind, PortAnswer::Kind::Wrong) << c.answer;
        } else {
            EXPECT_EQ(parsed.kind, PortAnswer::Kind::Port) << c.answer;
            EXPECT_EQ(parsed.port, c.port) << c.answer;
        }
    }
    EXPECT_EQ(parseportanswer("").kind, PortAnswer::Kind::Nothing);
}

TEST(MenuPort, WrongEntryShowsAnErrorAndChangesNothing) {
    PortRig rig;
    rig.openable({3});
    rig.store.writenum("Serial Port Number", 3);
    rig.open();
    rig.port.events.clear();
    for (const char* answer : {"17", "com", "abc", "0.5"}) rig.answer(answer);
    ASSERT_EQ(rig.host.msgboxes.size(), 4u);
    for (const auto& box : rig.host.msgboxes) {
        EXPECT_EQ(box.text, "Wrong entry!");
        EXPECT_EQ(box.type, kMsgError);
        EXPECT_EQ(box.caption, "");
    }
    EXPECT_TRUE(rig.port.events.empty());
    EXPECT_TRUE(rig.state.portready);
    EXPECT_EQ(rig.state.portnumber, 3);
    EXPECT_EQ(rig.store.readnum("Serial Port Number"), 3);
}

TEST(MenuPort, EmptyAnswerDoesNothing) {
    PortRig rig;
    rig.answer("");
    EXPECT_TRUE(rig.port.events.empty());
    EXPECT_TRUE(rig.host.msgboxes.empty());
    EXPECT_TRUE(rig.host.statuses.empty());
    EXPECT_EQ(rig.store.size(), 0u);
}

TEST(MenuPort, ANewNumberIsStoredAndOpened) {
    PortRig rig;
    rig.openable({3, 7});
    rig.store.writenum("Serial Port Number", 3);
    rig.open();
    rig.answer("com7");
    EXPECT_EQ(rig.store.readnum("Serial Port Number"), 7);
    EXPECT_EQ(rig.state.portnumber, 7);
    EXPECT_TRUE(rig.state.portready);
    EXPECT_EQ(rig.port.openname, "COM7");
    EXPECT_EQ(rig.host.status(), "Serial port COM7 ready...");
}

TEST(MenuPort, TheSameNumberClosesAndReopens) {
    PortRig rig;
    rig.openable({3});
    rig.store.writenum("Serial Port Number", 3);
    rig.open();
    rig.port.events.clear();
    rig.answer("3");
    const auto& ev = rig.port.events;
    ASSERT_GE(ev.size(), 2u);
    EXPECT_EQ(ev.front().op, Op::Close);
    EXPECT_EQ(ev.back().op, Op::Open);
    EXPECT_TRUE(rig.port.isopen());
    EXPECT_EQ(rig.host.status(), "Serial port COM3 ready...");
}

TEST(MenuPort, ChoosingAFailedPortAgainRetries) {
    PortRig rig;
    rig.openable({});
    rig.answer("5");
    EXPECT_EQ(rig.host.status(), "Serial port COM5 error!");
    EXPECT_FALSE(rig.state.portready);
    rig.openable({5});  // the adapter was plugged in
    rig.answer("COM5");
    EXPECT_EQ(rig.host.status(), "Serial port COM5 ready...");
    EXPECT_TRUE(rig.state.portready);
}

TEST(PortErrors, OperationTextHasNoComAndFailedPortsAreUnusable) {
    PortState numbered;
    numbered.portnumber = 16;
    EXPECT_EQ(porterrortext(numbered), "Serial port 16 error!");
    PortState named;
    named.portname = "FTDI cable";
    EXPECT_EQ(porterrortext(named), "FTDI cable error!");

    PortRig rig;
    rig.openable({3});
    rig.store.writenum("Serial Port Number", 3);
    EXPECT_FALSE(portusable(rig.state, rig.port));
    rig.open();
    EXPECT_TRUE(portusable(rig.state, rig.port));
    rig.port.fail("the serial port was lost");
    EXPECT_FALSE(portusable(rig.state, rig.port));
    // A successful reopen clears the failure.
    rig.open();
    EXPECT_TRUE(portusable(rig.state, rig.port));
}

}  // namespace
}  // namespace qm::test
