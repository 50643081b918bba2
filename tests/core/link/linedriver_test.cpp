#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "core/link/driverrig.h"

namespace qm::test {
namespace {

using namespace std::chrono_literals;
using Op = RecordingPort::Op;
using Ops = std::vector<std::pair<Op, int>>;

TEST(LineOperations, EachChangesOneLineThenYieldsOnce) {
    DriverRig rig;
    rig.driver.clockhigh();
    rig.driver.datahigh();
    rig.driver.clocklow();
    rig.driver.datalow();
    rig.driver.togglevddvpp();
    EXPECT_EQ(rig.ops(), (Ops{{Op::Rts, 1},
                              {Op::Mark, 0},
                              {Op::Dtr, 1},
                              {Op::Mark, 0},
                              {Op::Rts, 0},
                              {Op::Mark, 0},
                              {Op::Dtr, 0},
                              {Op::Mark, 0},
                              {Op::Byte, 0x01},
                              {Op::Mark, 0}}));
}

TEST(LineOperations, DatainYieldsThenNeedsTwoAssertedSamples) {
    struct Case {
        bool first, second;
        int expected;
    };
    for (Case c :
         {Case{true, true, 1}, Case{true, false, 0}, Case{false, true, 0}, Case{false, false, 0}}) {
        DriverRig rig;
        rig.port.dsrscript = {c.first, c.second};
        EXPECT_EQ(rig.driver.datain(), c.expected) << c.first << c.second;
        EXPECT_EQ(rig.ops(), (Ops{{Op::Mark, 0}, {Op::Dsr, c.first}, {Op::Dsr, c.second}}));
    }
}

TEST(LineOperations, TwoTogglesRestoreTheSupplyState) {
    DriverRig rig;
    rig.driver.togglevddvpp();
    EXPECT_TRUE(rig.port.supplyon);
    rig.driver.togglevddvpp();
    EXPECT_FALSE(rig.port.supplyon);
    EXPECT_EQ(rig.port.eventsof(Op::Byte).size(), 2u);
}

TEST(LineOperations, SettleTouchesNothing) {
    DriverRig rig;
    rig.driver.settle();
    EXPECT_TRUE(rig.port.events.empty());
    EXPECT_EQ(rig.host.yields, 0);
    EXPECT_EQ(rig.host.countingclock().sleepcalls, 0);
    EXPECT_EQ(rig.host.countingclock().nowcalls, 0);
}

// Supply sequences: the port stamps each event with the virtual time, so the 50 ms waits show
// up between the toggle and the yields.
struct Timed {
    Op op;
    std::chrono::microseconds time;
    bool operator==(const Timed&) const = default;
};

std::vector<Timed> timed(const RecordingPort& port) {
    std::vector<Timed> out;
    for (const auto& e : port.events) out.push_back({e.op, e.time});
    return out;
}

TEST(SupplySequences, SupplyFirstTogglesThenWaitsYieldsWaits) {
    DriverRig rig;
    rig.model.voltageorder = 1;
    rig.driver.poweron();
    EXPECT_EQ(timed(rig.port),
              (std::vector<Timed>{{Op::Byte, 0us}, {Op::Mark, 0us}, {Op::Mark, 50ms}}));
    EXPECT_EQ(rig.host.virtualclock().now(), 100ms);
    EXPECT_EQ(rig.host.countingclock().sleeps,
              (std::vector<std::chrono::microseconds>{50ms, 50ms}));
    EXPECT_TRUE(rig.port.supplyon);
}

TEST(SupplySequences, ProgrammingVoltageFirstYieldsWaitsThenToggles) {
    DriverRig rig;
    rig.model.voltageorder = 2;
    rig.driver.poweron();
    EXPECT_EQ(timed(rig.port),
              (std::vector<Timed>{{Op::Mark, 0us}, {Op::Byte, 50ms}, {Op::Mark, 50ms}}));
    EXPECT_EQ(rig.host.virtualclock().now(), 100ms);
    EXPECT_TRUE(rig.port.supplyon);
}

TEST(SupplySequences, UnknownOrderPowersOnNothing) {
    for (int order : {0, 3, -1}) {
        DriverRig rig;
        rig.model.voltageorder = order;
        rig.driver.poweron();
        EXPECT_TRUE(rig.port.events.empty()) << order;
        EXPECT_EQ(rig.host.yields, 0);
        EXPECT_EQ(rig.host.countingclock().sleepcalls, 0);
    }
}

TEST(SupplySequences, PowerOffIsTheSameForEveryOrder) {
    for (int order : {0, 1, 2}) {
        DriverRig rig;
        rig.model.voltageorder = order;
        rig.driver.poweroff();
        EXPECT_EQ(timed(rig.port),
                  (std::vector<Timed>{{Op::Byte, 0us}, {Op::Mark, 0us}, {Op::Mark, 50ms}}))
            << order;
        EXPECT_EQ(rig.host.virtualclock().now(), 100ms);
    }
}

TEST(SupplySequences, OrderIsReadFromTheActiveModelAtEachCall) {
    DriverRig rig;
    rig.driver.poweron();
    EXPECT_TRUE(rig.port.events.empty());
    rig.model.voltageorder = 2;  // a model activated after the driver was made
    rig.driver.poweron();
    EXPECT_EQ(rig.port.eventsof(Op::Byte).size(), 1u);
}

TEST(HoldTime, EveryLineChangeIsHeldBeforeTheYield) {
    DriverRig rig;
    rig.driver.setholdtime(7);
    EXPECT_EQ(rig.driver.holdtime(), 7);
    rig.driver.sendcmd(6);
    const auto changes = rig.port.linechanges();
    ASSERT_EQ(changes.size(), 19u);
    for (size_t i = 1; i < changes.size(); ++i)
        EXPECT_EQ(changes[i].time - changes[i - 1].time, 7us) << i;
    // The yield after a change comes once the hold has passed.
    const auto& ev = rig.port.events;
    for (size_t i = 0; i + 1 < ev.size(); ++i) {
        if (ev[i].op == Op::Rts || ev[i].op == Op::Dtr) {
            EXPECT_EQ(ev[i + 1].time, ev[i].time + 7us);
        }
    }
    EXPECT_EQ(rig.host.countingclock().sleeps, std::vector<std::chrono::microseconds>(19, 7us));
}

TEST(HoldTime, AppliesToTheToggleButNotToSampling) {
    DriverRig rig;
    rig.driver.setholdtime(250);
    rig.model.voltageorder = 1;
    rig.driver.poweron();
    EXPECT_EQ(rig.host.countingclock().sleeps,
              (std::vector<std::chrono::microseconds>{250us, 50ms, 50ms}));
    rig.host.countingclock().sleeps.clear();
    rig.port.dsrdefault = true;
    EXPECT_EQ(rig.driver.datain(), 1);
    EXPECT_TRUE(rig.host.countingclock().sleeps.empty());
    // A read holds each of its 52 line changes, never its samples.
    rig.driver.readcmddata(4);
    EXPECT_EQ(rig.host.countingclock().sleeps.size(), 52u);
}

TEST(HoldTime, ZeroOrNegativeNeverAsksTheClock) {
    for (int32_t hold : {0, -5}) {
        DriverRig rig;
        rig.driver.setholdtime(hold);
        EXPECT_EQ(rig.driver.holdtime(), 0);
        rig.port.dsrdefault = true;
        rig.driver.sendcmddata(2, 0x1234);
        rig.driver.readcmddata(4);
        rig.driver.togglevddvpp();
        EXPECT_EQ(rig.host.countingclock().sleepcalls, 0) << hold;
        EXPECT_EQ(rig.host.countingclock().nowcalls, 0) << hold;
    }
}

}  // namespace
}  // namespace qm::test
