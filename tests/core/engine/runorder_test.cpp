#include <gtest/gtest.h>

#include "core/engine/enginerig.h"
#include "engine/chipoperations.h"
#include "engine/interpreter.h"

namespace qm::test {
namespace {

// Records every yield among the host's events, so the order of captions, redraws and yields
// can be compared as one list.
void markyields(TestHost& host) {
    host.onyield = [&host] { host.events.push_back("yield"); };
}

// runalg resets only the address counter and the loop ends; the loop registers and the last
// temp word carry over into the next run, where progress texts and checks still use them.
TEST(RunAlgState, OnlyTheRangeRegistersAreResetBetweenRuns) {
    EngineRig rig;
    rig.port.reads = {0x0123};
    ASSERT_EQ(rig.run("calcflash,s02-flash,s02-flash,temp=s04").outcome, RunOutcome::Completed);
    ASSERT_EQ(rig.engine.algstate.flashlast, -1);
    ASSERT_EQ(rig.engine.algstate.addrcount, 2);

    // flashlast is back at the end of FLASH and addrcount at 0: the loop covers all 16 words.
    ASSERT_EQ(rig.run("setflashloop,s02-flash,loop").outcome, RunOutcome::Completed);
    EXPECT_EQ(rig.host.statuses.at(2), "F:1/16");
    EXPECT_EQ(rig.host.statuses.back(), "F:16/16");
    EXPECT_EQ(rig.engine.algstate.loopstart, 1);

    // No loop head and no temp=s in this run: loopend and tempword are the previous run's.
    rig.host.statuses.clear();
    beginreport(rig.engine.report);
    ASSERT_EQ(rig.run("s02-flash,checkblankflash").outcome, RunOutcome::Completed);
    EXPECT_EQ(rig.host.statuses, (std::vector<std::string>{"F:1/16", "F:2/16"}));
    EXPECT_EQ(rig.engine.report.mismatchreport,
              std::string(kMismatchHeader) + "FLASH Word 0001h,   0123h,   3FFFh,\r\n");
    EXPECT_EQ(rig.engine.algstate.loopstart, 1);
}

// The caption goes up and the window gets its yield before the word is shifted out.
TEST(RunAlgState, ProgressIsShownBeforeTheTransfer) {
    EngineRig rig;
    std::vector<int64_t> lineopsatyield;
    rig.host.onyield = [&] { lineopsatyield.push_back(rig.port.lineops); };
    rig.run("s02-flash");
    ASSERT_FALSE(lineopsatyield.empty());
    EXPECT_EQ(lineopsatyield.front(), 0);
    EXPECT_EQ(rig.host.statuses, (std::vector<std::string>{"F:1/1"}));
}

struct FrameRig : EngineRig {
    FrameRig() {
        port.readfunction = [](int32_t) { return 0; };
        markyields(host);
    }
    PortState ready() const {
        PortState state;
        state.portnumber = 1;
        state.portready = true;
        return state;
    }
};

TEST(OperationFrame, ReadAllClearsRedrawsAndRedrawsAgainAfterTheOutcome) {
    FrameRig rig;
    rig.model.steps[size_t(Operation::Read)] = script("w0");
    readall(rig.engine, rig.ready());
    EXPECT_EQ(rig.host.events,
              (std::vector<std::string>{
                  "disable", "status:Begin read all.", "yield", "updatedisplay", "yield", "enable",
                  "status:Chip read. 0.00 seconds elapsed...", "yield", "updatedisplay", "yield"}));
}

TEST(OperationFrame, MismatchBoxFollowsTheOutcomeText) {
    FrameRig rig;
    rig.model.steps[size_t(Operation::Verify)] = script("temp=s04,checkconfig2");
    rig.buffer.conf[1] = 0x0001;
    verifyall(rig.engine, rig.ready());
    std::vector<std::string> frame;
    for (const std::string& e : rig.host.events)
        if (e == "disable" || e == "enable" || e == "msgbox" || e.rfind("status:", 0) == 0 ||
            e == "updatedisplay")
            frame.push_back(e);
    EXPECT_EQ(frame, (std::vector<std::string>{
                         "disable", "status:Begin verify.", "status:CONF2:", "enable",
                         "status:Chip verify failed. 0.00 seconds elapsed...", "msgbox"}));
    // One yield after the outcome text and one after the box is closed.
    ASSERT_GE(rig.host.events.size(), 3u);
    EXPECT_EQ(std::vector<std::string>(rig.host.events.end() - 3, rig.host.events.end()),
              (std::vector<std::string>{"yield", "msgbox", "yield"}));
    EXPECT_EQ(rig.host.msgboxes.at(0).text, "Chip verify failed:\r\n\r\n" +
                                                std::string(kMismatchHeader) +
                                                "CONF Word 2008h,   0000h,   0001h,\r\n");
}

}  // namespace
}  // namespace qm::test
