#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "core/link/driverrig.h"

namespace qm::test {
namespace {

using Op = RecordingPort::Op;

std::vector<int> bitsof(int32_t value, int count) {
    std::vector<int> bits;
    for (int i = 0; i < count; ++i) bits.push_back((value >> i) & 1);
    return bits;
}

std::vector<int> concat(std::vector<std::vector<int>> parts) {
    std::vector<int> out;
    for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

// Every line change inside a transfer must be followed by two yields before anything else
// happens on the port, and only the read loop may sample DSR (after a further yield).
void expectyieldsafterlinechanges(const RecordingPort& port) {
    const auto& ev = port.events;
    for (size_t i = 0; i < ev.size(); ++i) {
        if (ev[i].op != Op::Rts && ev[i].op != Op::Dtr) continue;
        ASSERT_LT(i + 2, ev.size()) << "line change without two yields after it, seq " << i;
        EXPECT_EQ(ev[i + 1].op, Op::Mark) << "seq " << i;
        EXPECT_EQ(ev[i + 2].op, Op::Mark) << "seq " << i;
    }
}

TEST(SendCmd, Command6GoesOutLsbFirstWithExactLineSequence) {
    DriverRig rig;
    rig.host.onyield = nullptr;  // line changes only
    rig.driver.sendcmd(6);

    std::vector<std::pair<Op, int>> expected;
    for (int bit : {0, 1, 1, 0, 0, 0}) {
        expected.push_back({Op::Rts, 1});
        expected.push_back({Op::Dtr, bit});
        expected.push_back({Op::Rts, 0});
    }
    expected.push_back({Op::Dtr, 0});
    EXPECT_EQ(rig.ops(), expected);
    EXPECT_EQ(fallingedgebits(rig.port.events), (std::vector<int>{0, 1, 1, 0, 0, 0}));
    EXPECT_FALSE(rig.port.rts);
    EXPECT_FALSE(rig.port.dtr);
    EXPECT_EQ(rig.host.yields, 2 * 19);
}

TEST(SendCmd, EveryCommandValueRoundTripsThroughTheFallingEdges) {
    for (int32_t command = 0; command <= 63; ++command) {
        DriverRig rig;
        rig.driver.sendcmd(command);
        EXPECT_EQ(fallingedgebits(rig.port.events), bitsof(command, 6)) << command;
        EXPECT_FALSE(rig.port.dtr);
        EXPECT_FALSE(rig.port.rts);
    }
}

TEST(SendCmdData, FramesAFourteenBitWordWithStartAndStopBits) {
    DriverRig rig;
    rig.driver.sendcmddata(2, 0x3FFF);
    const auto bits = fallingedgebits(rig.port.events);
    ASSERT_EQ(bits.size(), 22u);
    EXPECT_EQ(bits, concat({bitsof(2, 6), {0}, bitsof(0x3FFF, 14), {0}}));
    EXPECT_FALSE(rig.port.rts);
    EXPECT_FALSE(rig.port.dtr);
    expectyieldsafterlinechanges(rig.port);
    // 6 + 14 bit cells of three changes, start and stop of three each.
    EXPECT_EQ(rig.port.linechanges().size(), 66u);
    EXPECT_EQ(rig.host.yields, 2 * 66);
    EXPECT_TRUE(rig.port.eventsof(Op::Dsr).empty());
}

TEST(SendCmdData, DataBitOrderIsLsbFirst) {
    for (int32_t data : {0x0000, 0x0001, 0x2000, 0x1234, 0x2AAA, 0x1555}) {
        DriverRig rig;
        rig.driver.sendcmddata(0x22, data);
        EXPECT_EQ(fallingedgebits(rig.port.events),
                  concat({bitsof(0x22, 6), {0}, bitsof(data, 14), {0}}))
            << data;
    }
}

TEST(SendCmdData, StartAndStopBitsAreWholeClockPulsesWithDataLow) {
    DriverRig rig;
    rig.host.onyield = nullptr;
    rig.driver.sendcmddata(0, 0x3FFF);
    const auto ops = rig.ops();
    ASSERT_EQ(ops.size(), 66u);
    const std::vector<std::pair<Op, int>> frame{{Op::Dtr, 0}, {Op::Rts, 1}, {Op::Rts, 0}};
    // Start bit follows the 6 command cells; stop bit ends the transfer.
    EXPECT_EQ(std::vector(ops.begin() + 18, ops.begin() + 21), frame);
    EXPECT_EQ(std::vector(ops.end() - 3, ops.end()), frame);
}

TEST(ReadCmdData, ClocksTwentyTwoEdgesAndHoldsDataOutHighThroughTheRead) {
    DriverRig rig;
    rig.port.dsrdefault = true;
    EXPECT_EQ(rig.driver.readcmddata(4), 16383);

    const auto& ev = rig.port.events;
    EXPECT_EQ(fallingedgebits(ev).size(), 22u);
    // The command bits, then DATA OUT goes high before the start clock's rising edge and stays
    // high until after the stop clock's falling edge.
    std::vector<RecordingPort::Event> changes = rig.port.linechanges();
    ASSERT_EQ(changes.size(), 18u + 3u + 28u + 2u + 1u);
    EXPECT_EQ(fallingedgebits(std::vector(changes.begin(), changes.begin() + 18)), bitsof(4, 6));
    EXPECT_EQ(changes[18].op, Op::Dtr);
    EXPECT_EQ(changes[18].value, 1);
    for (size_t i = 19; i + 1 < changes.size(); ++i) EXPECT_EQ(changes[i].op, Op::Rts) << i;
    EXPECT_EQ(changes[changes.size() - 2].op, Op::Rts);
    EXPECT_EQ(changes[changes.size() - 2].value, 0);
    EXPECT_EQ(changes.back().op, Op::Dtr);
    EXPECT_EQ(changes.back().value, 0);
    EXPECT_FALSE(rig.port.rts);
    EXPECT_FALSE(rig.port.dtr);
    expectyieldsafterlinechanges(rig.port);
    // Two yields per line change plus the one before each double sample.
    EXPECT_EQ(rig.host.yields, 2 * 52 + 14);
}

TEST(ReadCmdData, SamplesTwiceWhileClockIsHighAfterAYield) {
    DriverRig rig;
    rig.port.dsrdefault = true;
    rig.driver.readcmddata(4);
    const auto& ev = rig.port.events;
    int samples = 0;
    for (size_t i = 0; i < ev.size(); ++i) {
        if (ev[i].op != Op::Dsr) continue;
        ++samples;
        ASSERT_GE(i, 1u);
        // First of a pair: preceded by datain's yield; second: preceded by the first.
        if (ev[i - 1].op != Op::Dsr) {
            EXPECT_EQ(ev[i - 1].op, Op::Mark) << i;
        }
    }
    EXPECT_EQ(samples, 28);
    // Every sample happens with CLOCK high.
    DriverRig checked;
    checked.port.dsrfunction = [&checked] {
        EXPECT_TRUE(checked.port.rts);
        EXPECT_TRUE(checked.port.dtr);
        return true;
    };
    EXPECT_EQ(checked.driver.readcmddata(4), 16383);
}

TEST(ReadCmdData, DsrNeverAssertedReadsZero) {
    DriverRig rig;
    rig.port.dsrdefault = false;
    EXPECT_EQ(rig.driver.readcmddata(4), 0);
}

// A chip that puts bit i of its word on the data pin after the (8+i)-th rising edge: six
// command clocks, the start clock, then one clock per data bit.
TEST(ReadCmdData, AssemblesTheWordLsbFirstFromTheRightClocks) {
    for (int32_t word : {0x0001, 0x2000, 0x1234, 0x2A5C, 0x3FFE}) {
        DriverRig rig;
        rig.port.dsrfunction = [&rig, word] {
            int rises = 0;
            bool clock = false;
            for (const auto& e : rig.port.events) {
                if (e.op != Op::Rts) continue;
                if (!clock && e.value == 1) ++rises;
                clock = e.value != 0;
            }
            const int bit = rises - 8;
            return bit >= 0 && bit < 14 && ((word >> bit) & 1) != 0;
        };
        EXPECT_EQ(rig.driver.readcmddata(4), word) << word;
    }
}

TEST(ReadCmdData, ABitWhoseTwoSamplesDisagreeReadsAsZero) {
    DriverRig rig;
    // Bit 0: agree high; bit 1: high then low; bit 2: low then high; bit 3: agree high; rest low.
    rig.port.dsrscript = {true, true, true, false, false, true, true, true};
    EXPECT_EQ(rig.driver.readcmddata(4), 0b1001);
}

TEST(WordTransfers, OutOfRangeArgumentsChangeNoLineAndDoNotYield) {
    DriverRig rig;
    rig.port.dsrdefault = true;
    rig.driver.sendcmd(64);
    rig.driver.sendcmd(-1);
    rig.driver.sendcmddata(64, 0);
    rig.driver.sendcmddata(-1, 0);
    rig.driver.sendcmddata(2, 16384);
    rig.driver.sendcmddata(2, -1);
    EXPECT_EQ(rig.driver.readcmddata(64), 0);
    EXPECT_EQ(rig.driver.readcmddata(-1), 0);
    EXPECT_TRUE(rig.port.events.empty());
    EXPECT_EQ(rig.host.yields, 0);
}

TEST(WordTransfers, RangeLimitsAreInclusive) {
    DriverRig rig;
    rig.driver.sendcmddata(63, 16383);
    EXPECT_EQ(fallingedgebits(rig.port.events).size(), 22u);
    DriverRig zero;
    zero.driver.sendcmddata(0, 0);
    EXPECT_EQ(fallingedgebits(zero.port.events), std::vector<int>(22, 0));
}

}  // namespace
}  // namespace qm::test
