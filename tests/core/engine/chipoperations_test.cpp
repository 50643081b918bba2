#include "engine/chipoperations.h"

#include <gtest/gtest.h>

#include "core/engine/enginerig.h"

namespace qm::test {
namespace {

PortState portstate(bool ready) {
    PortState state;
    state.portnumber = 3;
    state.portready = ready;
    return state;
}

const PortState kReady = portstate(true);

struct OperationRig : EngineRig {
    void steps(Operation op, std::string_view text) {
        model.steps[size_t(static_cast<int>(op))] = script(text);
    }
};

TEST(ChipOperations, PortNotReadyTouchesNothing) {
    using Fn = OperationResult (*)(Engine&, const PortState&, const OperationChoices&);
    for (Fn fn : {&programall, &readall, &eraseall, &blankcheck, &verifyall}) {
        OperationRig rig;
        for (int op = 0; op < kOperationCount; ++op)
            rig.model.steps[size_t(op)] = script("begin,s06,end");
        rig.buffer.flash[0] = 0x1234;
        const OperationResult result = fn(rig.engine, portstate(false), {});
        EXPECT_EQ(result.status, OperationStatus::PortNotReady);
        EXPECT_EQ(rig.host.statuses, (std::vector<std::string>{"Serial port 3 error!"}));
        EXPECT_EQ(rig.host.disablecalls + rig.host.enablecalls + rig.host.updatedisplaycalls, 0);
        EXPECT_EQ(rig.port.lineops, 0);
        EXPECT_EQ(rig.buffer.flash[0], 0x1234);
        EXPECT_TRUE(rig.host.msgboxes.empty());
    }
}

TEST(ChipOperations, AFailedPortIsNotReady) {
    OperationRig rig;
    rig.steps(Operation::Program, "begin,end");
    rig.port.failafter = 1;
    rig.driver.clocklow();
    EXPECT_EQ(programall(rig.engine, kReady).status, OperationStatus::PortNotReady);
    EXPECT_EQ(rig.host.status(), "Serial port 3 error!");
}

TEST(ChipOperations, FrameAroundTheScript) {
    OperationRig rig;
    rig.steps(Operation::Program, "begin,w1000,end");
    const OperationResult result = programall(rig.engine, kReady);
    EXPECT_EQ(result.status, OperationStatus::Done);
    EXPECT_EQ(rig.host.statuses,
              (std::vector<std::string>{"Begin program all.",
                                        "Chip programmed. 1.20 seconds elapsed..."}));
    EXPECT_EQ(result.statustext, rig.host.status());
    EXPECT_EQ(rig.engine.elapsedtext, "1.20");
    EXPECT_EQ(rig.host.disablecalls, 1);
    EXPECT_EQ(rig.host.enablecalls, 1);
    EXPECT_EQ(rig.host.updatedisplaycalls, 0);
}

TEST(ChipOperations, StartAndOutcomeTextsOfEachOperation) {
    struct Row {
        Operation op;
        const char* start;
        const char* outcome;
    };
    for (const Row& row : {Row{Operation::Erase, "Begin erase all.", "Chip erased. 3.25"},
                           Row{Operation::Read, "Begin read all.", "Chip read. 3.25"},
                           Row{Operation::BlankCheck, "Begin blank check.", "Chip is blank. 3.25"},
                           Row{Operation::Verify, "Begin verify.", "Chip verified. 3.25"}}) {
        OperationRig rig;
        rig.steps(row.op, "w3250");
        runoperation(rig.engine, row.op, kReady);
        EXPECT_EQ(rig.host.statuses.front(), row.start);
        EXPECT_EQ(rig.host.status(), std::string(row.outcome) + " seconds elapsed...");
    }
}

TEST(ChipOperations, ElapsedTimeOnTheStatusLine) {
    struct Row {
        const char* wait;
        const char* shown;
    };
    for (const Row& row : {Row{"w500", "0.50"}, Row{"w3250", "3.25"}, Row{"w7000", "7.00"},
                           Row{"w12000", "12.00"}, Row{"w59999", "59.99"}}) {
        OperationRig rig;
        rig.host.virtualclock().advance(std::chrono::hours(23));  // a start time far from zero
        rig.steps(Operation::Erase, row.wait);
        eraseall(rig.engine, kReady);
        EXPECT_EQ(rig.host.status(),
                  "Chip erased. " + std::string(row.shown) + " seconds elapsed...");
    }
}

TEST(ChipOperations, ReadAllClearsAndRedrawsEvenWhenNothingIsRead) {
    OperationRig rig;
    rig.model.erasedconfig = {0x3FFF, 0x0003};
    rig.buffer.flash[5] = 0;
    rig.buffer.eeprom[1] = 0;
    rig.buffer.conf = {0, 0};
    rig.steps(Operation::Read, "w0");
    EXPECT_EQ(readall(rig.engine, kReady).status, OperationStatus::Done);
    EXPECT_EQ(rig.buffer.flash[5], 0x3FFF);
    EXPECT_EQ(rig.buffer.eeprom[1], 0xFF);
    EXPECT_EQ(rig.buffer.conf[1], 0x0003);
    EXPECT_EQ(rig.host.updatedisplaycalls, 2);  // once cleared, once read
}

TEST(ChipOperations, VerifyWithoutChecksAlwaysVerifies) {
    OperationRig rig;
    rig.port.readfunction = [](int32_t) { return 0; };
    rig.steps(Operation::Verify, "begin,temp=s04,s06,temp=s05,s00-3fff,temp=s04,end");
    const OperationResult result = verifyall(rig.engine, kReady);
    EXPECT_EQ(result.status, OperationStatus::Done);
    EXPECT_EQ(rig.host.status().rfind("Chip verified. ", 0), 0u);
}

TEST(ChipOperations, MismatchesShowTheReportBox) {
    OperationRig rig;
    rig.model.flashsize = 2;
    rig.reset();
    rig.port.readfunction = [](int32_t) { return 0x0ABC; };
    rig.steps(Operation::BlankCheck, "setflashloop,temp=s04,checkblankflash,s06,loop");
    rig.engine.report.mismatchcount = 7;  // a new report begins
    const OperationResult result = blankcheck(rig.engine, kReady);
    EXPECT_EQ(result.status, OperationStatus::Mismatches);
    EXPECT_EQ(result.mismatchcount, 2);
    EXPECT_EQ(rig.host.status(), "Chip is not blank. 0.00 seconds elapsed...");
    ASSERT_EQ(rig.host.msgboxes.size(), 1u);
    EXPECT_EQ(rig.host.msgboxes[0].text,
              "Chip is not blank:\r\n\r\n"
              "Memory Location,   Read Value,   Expected,\r\n"
              "FLASH Word 0000h,   0ABCh,   3FFFh,\r\n"
              "FLASH Word 0001h,   0ABCh,   3FFFh,\r\n");
    EXPECT_EQ(rig.host.msgboxes[0].type, 16);
    EXPECT_EQ(rig.host.msgboxes[0].caption, "");
    EXPECT_EQ(rig.host.enablecalls, 1);

    OperationRig verify;
    verify.port.readfunction = [](int32_t) { return 0; };
    verify.steps(Operation::Verify, "temp=s04,checkconfig1");
    EXPECT_EQ(verifyall(verify.engine, kReady).status, OperationStatus::Mismatches);
    EXPECT_EQ(verify.host.status(), "Chip verify failed. 0.00 seconds elapsed...");
    EXPECT_EQ(verify.host.msgboxes.at(0).text.rfind("Chip verify failed:\r\n\r\nMemory", 0), 0u);
}

TEST(ChipOperations, MismatchesDoNotMatterToProgramAll) {
    OperationRig rig;
    rig.engine.algstate.tempword = 0;
    rig.steps(Operation::Program, "checkblankflash");
    EXPECT_EQ(programall(rig.engine, kReady).status, OperationStatus::Done);
    EXPECT_TRUE(rig.host.msgboxes.empty());
    EXPECT_EQ(rig.engine.report.mismatchcount, 1);
}

TEST(ChipOperations, UnrecognizedInstructionEndsWithoutEnableOrOutcome) {
    OperationRig rig;
    rig.steps(Operation::Erase, "");
    const OperationResult result = eraseall(rig.engine, kReady);
    EXPECT_EQ(result.status, OperationStatus::ProgramEnded);
    EXPECT_EQ(rig.host.endprogramcalls, 1);
    EXPECT_EQ(rig.host.enablecalls, 0);
    EXPECT_EQ(rig.host.statuses, (std::vector<std::string>{"Begin erase all."}));
    EXPECT_EQ(rig.host.msgboxes.size(), 1u);
}

TEST(ChipOperations, ScriptErrorFailsTheOperationAndSaysWhere) {
    OperationRig rig;
    rig.steps(Operation::Verify, "begin,setflashloop,temp=s04,checkflash,end");
    const OperationResult result = verifyall(rig.engine, kReady);
    EXPECT_EQ(result.status, OperationStatus::ScriptError);
    EXPECT_EQ(rig.host.enablecalls, 1);
    EXPECT_EQ(rig.host.status(),
              "Operation failed: script error in instruction 2 ('setflashloop').");
    ASSERT_EQ(rig.host.msgboxes.size(), 1u);
    EXPECT_EQ(rig.host.msgboxes[0].text,
              "Script error in instruction 2 ('setflashloop'): the loop head has no \"loop\" "
              "after it.\r\nThe operation was stopped.");
    EXPECT_EQ(rig.host.msgboxes[0].type, 16);
    EXPECT_EQ(rig.port.toggles, 2);
}

TEST(ChipOperations, PortLostDuringTheRun) {
    OperationRig rig;
    rig.steps(Operation::Read, "begin,setflashloop,flash=s04,s06,loop,end");
    rig.port.failafter = 300;
    const OperationResult result = readall(rig.engine, kReady);
    EXPECT_EQ(result.status, OperationStatus::PortFailed);
    EXPECT_EQ(result.porterror, "the adapter was unplugged");
    EXPECT_EQ(rig.host.status(), "Operation failed: the adapter was unplugged.");
    EXPECT_EQ(rig.host.enablecalls, 1);
    EXPECT_EQ(rig.host.updatedisplaycalls, 2);
    EXPECT_TRUE(rig.host.msgboxes.empty());
    EXPECT_EQ(portfailedtext(""), "Operation failed: the serial port was lost.");
}

}  // namespace
}  // namespace qm::test
