// The FT232R bit-bang back-end end to end on its simulated cable: the same line states reach
// the adapter as through the serial back-end, each held long enough, in few round trips; the
// supply toggle is a real UART frame; an unplugged cable fails the operation.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/link/backendrig.h"
#include "engine/interpreter.h"

namespace qm::test {
namespace {

TEST(BitBang, ProgramAndVerifyPutTheSerialLineSequenceOnThePins) {
    const int32_t models = loaddevices(kShippedDevices).table.modelcount();
    ASSERT_GT(models, 0);
    // Every model on the standard cable, and one on a cable wired the other way round.
    std::vector<std::pair<int32_t, std::string>> cases;
    for (int32_t n = 1; n <= models; ++n) cases.emplace_back(n, "rts=D2,dtr=D4,dsr=D5");
    cases.emplace_back(3, "rts=D4:high,dtr=D2,dsr=D7:high");
    for (const auto& [n, pintext] : cases) {
        std::string error;
        const FtdiPinMap pins = *parseftdipins(pintext, error);
        BackEndRig serial(kShippedDevices, n, false);
        BackEndRig bitbang(kShippedDevices, n, true, pins);
        SCOPED_TRACE(serial.model.modelname + " " + pintext);
        ASSERT_TRUE(serial.selected && bitbang.opened);
        fillimage(serial.buffer, serial.model, serial.chip->family(), n);
        bitbang.buffer = serial.buffer;

        for (BackEndRig* rig : {&serial, &bitbang}) {
            EXPECT_EQ(programall(*rig->engine, rig->state).status, OperationStatus::Done)
                << rig->host.status();
            EXPECT_EQ(verifyall(*rig->engine, rig->state).status, OperationStatus::Done)
                << rig->host.status();
            EXPECT_EQ(rig->violations(), 0);
        }
        ASSERT_GT(serial.tap->states.size(), 1000u);
        EXPECT_TRUE(serial.tap->states == bitbang.tap->states)
            << serial.tap->states.size() << " states through the serial back-end, "
            << bitbang.tap->states.size() << " through the bit-bang back-end";
        EXPECT_EQ(bitbang.cable->shortstates(), 0);
        EXPECT_EQ(bitbang.cable->txdpulses(), 0);
    }
}

TEST(BitBang, LineStatesLastTheHoldTimeAndTransfersShareARoundTrip) {
    // With the longest hold the queue goes out in pieces before it is needed.
    for (const int32_t holdus : {0, 1, 3, 100, 10000}) {
        const bool queued = holdus < 10000;
        BackEndRig rig(kTestDevices, k628A, true);
        rig.driver->setholdtime(holdus);
        rig.chip->setflashword(2, 0x1234);
        rig.driver->poweron();
        const int64_t before = rig.cable->roundtrips();
        const int64_t yields = rig.host.yields;
        rig.driver->sendcmddata(0x02, 0x2AAA);  // loaded, never programmed
        rig.driver->sendcmd(0x06);
        rig.driver->sendcmd(0x06);
        EXPECT_EQ(rig.cable->roundtrips() == before, queued) << holdus;
        const int64_t sent = rig.cable->roundtrips();
        EXPECT_EQ(rig.driver->readcmddata(0x04), 0x1234) << holdus;
        if (queued) {
            EXPECT_EQ(rig.cable->roundtrips(), sent + 1) << holdus;
        }
        EXPECT_EQ(rig.host.yields - yields, 4) << "one yield per transfer";
        rig.driver->poweroff();

        // Every state, from one change to the next, lasts the hold time or 1 us, whichever is
        // longer.
        const auto& t = rig.tap->times;
        ASSERT_GT(t.size(), 100u);
        std::chrono::microseconds shortest = t[1] - t[0];
        for (size_t i = 2; i < t.size(); ++i) shortest = std::min(shortest, t[i] - t[i - 1]);
        EXPECT_GE(shortest.count(), std::max(holdus, 1)) << holdus;
        EXPECT_EQ(rig.cable->shortstates(), 0);
        EXPECT_EQ(rig.violations(), 0);
    }
}

// A script's short wait is the lines held on the cable's own clock, in the transfer around it;
// a longer one ends the transfer and is slept. Either way it lasts at least what was asked.
TEST(BitBang, ShortWaitsJoinTheTransferLongerOnesAreSlept) {
    for (const int32_t ms : {1, LineDriver::kQueuedWaitMs, LineDriver::kQueuedWaitMs + 1, 15}) {
        const bool joined = ms <= LineDriver::kQueuedWaitMs;
        BackEndRig rig(kTestDevices, k628A, true);
        rig.driver->poweron();
        const int64_t before = rig.cable->roundtrips();
        const auto start = rig.host.clock().now();
        rig.driver->sendcmd(0x06);
        rig.driver->wait(ms);
        rig.driver->sendcmd(0x06);
        rig.driver->flush();
        EXPECT_EQ(rig.cable->roundtrips() - before, joined ? 1 : 2) << ms;
        EXPECT_GE(rig.host.clock().now() - start, std::chrono::milliseconds(ms)) << ms;
        rig.driver->poweroff();
        EXPECT_EQ(rig.violations(), 0);
    }
}

TEST(BitBang, ReadsTheWordTheChipSends) {
    BackEndRig rig(kTestDevices, k628A, true);
    rig.chip->setflashword(0, 0x1234);
    rig.chip->setflashword(1, 0x2DCB);
    rig.driver->poweron();
    EXPECT_EQ(rig.driver->readcmddata(0x04), 0x1234);
    rig.driver->sendcmd(0x06);
    EXPECT_EQ(rig.driver->readcmddata(0x04), 0x2DCB);
    rig.driver->poweroff();
    // Outside a transfer every line operation is a round trip of its own.
    const int64_t before = rig.cable->roundtrips();
    rig.driver->datahigh();
    EXPECT_EQ(rig.driver->datain(), 1);
    EXPECT_EQ(rig.cable->roundtrips(), before + 3);
}

TEST(BitBang, SupplyToggleIsAUartFrameWithTheLinesHeld) {
    struct Case {
        const char* pins;
        std::vector<int16_t> opening;
    };
    // A standard cable rests with the lines off and opening leaves them so. On one asserted by
    // high pins they rest on (the UART's idle levels) until opening turns them off, once.
    for (const Case& c :
         {Case{"rts=D2,dtr=D4", {}}, Case{"rts=D4:high,dtr=D2:high", {2, 3, 1, 0}}}) {
        SCOPED_TRACE(c.pins);
        std::string error;
        BackEndRig rig(kTestDevices, k628A, true, *parseftdipins(c.pins, error), 19200);
        ASSERT_TRUE(rig.opened);
        EXPECT_EQ(rig.openstates, c.opening);
        rig.driver->clockhigh();
        rig.driver->togglevddvpp();
        rig.driver->datahigh();
        rig.driver->togglevddvpp();

        ASSERT_EQ(rig.cable->frames().size(), 2u);
        for (const SimFt232r::Frame& frame : rig.cable->frames()) {
            EXPECT_EQ(frame.byte, 0x01);
            EXPECT_EQ(frame.baud, 19200);
            EXPECT_TRUE(frame.rts);
        }
        EXPECT_FALSE(rig.cable->frames()[0].dtr);
        EXPECT_TRUE(rig.cable->frames()[1].dtr);
        // CLOCK high, a toggle, DATA high, a toggle: nothing else on the lines.
        EXPECT_EQ(rig.tap->states, (std::vector<int16_t>{2, 256 + 1, 3, 256 + 1}));
        EXPECT_TRUE(rig.cable->bitbang());
        EXPECT_FALSE(rig.adapter.supply());
        EXPECT_EQ(rig.cable->txdpulses(), 0);

        // Closing hands the lines to the UART as they are.
        rig.port->close();
        EXPECT_FALSE(rig.cable->bitbang());
        EXPECT_TRUE(rig.adapter.rts());
        EXPECT_TRUE(rig.adapter.dtr());
        EXPECT_EQ(rig.tap->states.size(), 4u);
    }
}

TEST(BitBang, ARunEndsWithEverythingItQueuedSent) {
    BackEndRig rig(kTestDevices, k628A, true);
    // No wait and no "end": nothing but the run's own end sends the increments.
    const RunResult result = runalg(*rig.engine, {"begin", "s06", "s06", "s06"});
    EXPECT_EQ(result.outcome, RunOutcome::Completed);
    EXPECT_EQ(rig.chip->pc(), 3);
}

TEST(BitBang, UnpluggedCableEndsTheOperationAsFailed) {
    // Unplugged early in Program All, during it, and during Verify.
    for (const int64_t after : {5, 400, 2500}) {
        BackEndRig rig(kTestDevices, k628A, true);
        fillimage(rig.buffer, rig.model, rig.chip->family(), 1);
        rig.cable->failafter(after);
        OperationResult result = programall(*rig.engine, rig.state);
        if (result.status == OperationStatus::Done) result = verifyall(*rig.engine, rig.state);
        EXPECT_EQ(result.status, OperationStatus::PortFailed) << after;
        EXPECT_EQ(rig.host.status(),
                  "Operation failed: the FTDI cable failed: the device was unplugged.")
            << after;
        EXPECT_TRUE(rig.port->failed());
        EXPECT_EQ(programall(*rig.engine, rig.state).status, OperationStatus::PortNotReady);
        EXPECT_EQ(rig.host.status(), "Serial port 1 error!");
    }
}

}  // namespace
}  // namespace qm::test
