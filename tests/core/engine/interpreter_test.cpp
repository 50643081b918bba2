#include "engine/interpreter.h"

#include <gtest/gtest.h>

#include "core/engine/enginerig.h"

namespace qm::test {
namespace {

std::vector<int32_t> datasent(const FakeChipPort& port, int32_t command) {
    std::vector<int32_t> out;
    for (const Transfer& t : port.transfers)
        if (t.command == command) out.push_back(t.data);
    return out;
}

size_t countof(const FakeChipPort& port, int32_t command) { return datasent(port, command).size(); }

TEST(RunAlg, EmptyListDoesNothing) {
    EngineRig rig;
    const RunResult result = runalg(rig.engine, {});
    EXPECT_EQ(result.outcome, RunOutcome::Completed);
    EXPECT_EQ(rig.port.lineops, 0);
    EXPECT_TRUE(rig.host.statuses.empty());
    EXPECT_EQ(rig.host.yields, 0);
}

TEST(RunAlg, ProgramLoopSendsEveryWordWithProgressAndWaits) {
    EngineRig rig;
    rig.model.flashsize = 4;
    rig.reset();
    rig.buffer.flash = {0x0001, 0x2ABC, 0x3FFF, 0x0000};
    const RunResult result = rig.run("begin,setflashloop,s02-flash,s08,wprog,s06,loop,end");
    ASSERT_EQ(result.outcome, RunOutcome::Completed);

    std::vector<Transfer> expected;
    for (int32_t word : rig.buffer.flash) {
        expected.push_back({0x02, word, false});
        expected.push_back({0x08, -1, false});
        expected.push_back({0x06, -1, false});
    }
    EXPECT_EQ(rig.port.transfers, expected);
    EXPECT_EQ(rig.host.statuses, (std::vector<std::string>{"F:1/4", "F:2/4", "F:3/4", "F:4/4"}));
    EXPECT_EQ(rig.port.toggles, 2);
    EXPECT_EQ(rig.elapsedms(), 4 * 5 + 200);      // four wprog of 5 ms, two supply sequences
    EXPECT_EQ(rig.engine.algstate.addrcount, 0);  // leaving the loop resets it
}

TEST(RunAlg, FlashLoopThenEepromLoopStartsAtAddressZero) {
    EngineRig rig;
    rig.model.flashsize = 2;
    rig.model.eepromsize = 3;
    rig.reset();
    rig.buffer.eeprom = {0x12, 0x34, 0x56};
    rig.run("setflashloop,s02-flash,s06,loop,seteepromloop,s03-eeprom,s06,loop");
    EXPECT_EQ(datasent(rig.port, 0x03), (std::vector<int32_t>{0x12, 0x34, 0x56}));
    EXPECT_EQ(rig.host.statuses,
              (std::vector<std::string>{"F:1/2", "F:2/2", "E:1/3", "E:2/3", "E:3/3"}));
}

TEST(RunAlg, NoEepromMeansTheEepromLoopRunsZeroTimes) {
    EngineRig rig;
    rig.model.eepromsize = 0;
    rig.reset();
    EXPECT_EQ(rig.run("seteepromloop,s03-eeprom,s06,loop,s0b").outcome, RunOutcome::Completed);
    EXPECT_EQ(rig.port.transfers, (std::vector<Transfer>{{0x0B, -1, false}}));
}

TEST(RunAlg, CalcFlashEndsAtTheLastProgrammedWord) {
    EngineRig rig;
    rig.buffer.flash[2] = 0x1234;
    rig.run("calcflash,setflashloop,s02-flash,loop");
    EXPECT_EQ(datasent(rig.port, 0x02), (std::vector<int32_t>{0x3FFF, 0x3FFF, 0x1234}));
    EXPECT_EQ(rig.host.statuses.front(), "F:1/3");
}

TEST(RunAlg, CalcFlashOnAnErasedBufferSkipsTheLoop) {
    EngineRig rig;
    rig.run("calcflash,setflashloop,s02-flash,loop,s06");
    EXPECT_EQ(rig.engine.algstate.flashlast, -1);
    EXPECT_EQ(rig.port.transfers, (std::vector<Transfer>{{0x06, -1, false}}));
}

TEST(RunAlg, CalcEepromEndsAtTheLastProgrammedByte) {
    EngineRig rig;
    rig.buffer.eeprom[4] = 0x00;
    rig.run("calceeprom,seteepromloop,s03-eeprom,loop");
    EXPECT_EQ(countof(rig.port, 0x03), 5u);
    EngineRig erased;
    erased.run("calceeprom,seteepromloop,s03-eeprom,loop");
    EXPECT_EQ(erased.engine.algstate.eepromlast, -1);
    EXPECT_TRUE(erased.port.transfers.empty());
}

TEST(RunAlg, CalcFlashPageRoundsUpToTheEndOfThePage) {
    struct PageCase {
        int32_t pagesize;
        int32_t lastword;  // -1: all erased
        int32_t flashlast;
    };
    for (const PageCase c :
         {PageCase{4, 5, 7}, PageCase{4, -1, 3}, PageCase{4, 7, 7}, PageCase{4, 8, 11},
          PageCase{4, 0, 3}, PageCase{8, 15, 15}, PageCase{1, 6, 6}, PageCase{1, -1, -1}}) {
        EngineRig rig;
        rig.model.pagesize = c.pagesize;
        if (c.lastword >= 0) rig.buffer.flash[size_t(c.lastword)] = 0;
        ASSERT_EQ(rig.run("calcflashpage,setflashloop,s02-flash,loop").outcome,
                  RunOutcome::Completed);
        EXPECT_EQ(rig.engine.algstate.flashlast, c.flashlast)
            << "page " << c.pagesize << " last word " << c.lastword;
        EXPECT_EQ(countof(rig.port, 0x02), size_t(c.flashlast + 1));
    }
}

TEST(RunAlg, PageBlockRunsAfterEachCompletedPage) {
    EngineRig rig;
    rig.model.flashsize = 8;
    rig.reset();
    rig.run("setflashloop,s02-flash,ifpage,s08,endifpage,s06,loop");
    std::vector<int32_t> commands;
    for (const Transfer& t : rig.port.transfers) commands.push_back(t.command);
    EXPECT_EQ(commands,
              (std::vector<int32_t>{2, 6, 2, 6, 2, 6, 2, 8, 6, 2, 6, 2, 6, 2, 6, 2, 8, 6}));
}

TEST(RunAlg, PageBlockAtAddressZeroIsSkippedAndPageOneRunsAlways) {
    EngineRig rig;
    rig.run("ifpage,s08,endifpage,s06");
    EXPECT_EQ(rig.port.transfers, (std::vector<Transfer>{{0x06, -1, false}}));

    EngineRig every;
    every.model.pagesize = 1;
    every.model.flashsize = 3;
    every.reset();
    every.run("setflashloop,s02-flash,ifpage,s08,endifpage,loop");
    EXPECT_EQ(countof(every.port, 0x08), 3u);
}

TEST(RunAlg, ReadsStoreIntoTheBuffer) {
    EngineRig rig;
    rig.model.flashsize = 2;
    rig.model.eepromsize = 2;
    rig.reset();
    rig.port.reads = {0x1234, 0x0001, 0x3F12, 0x00AB, 0x2F4A, 0x0003, 0x3FF0};
    ASSERT_EQ(rig.run("setflashloop,flash=s04,s06,loop,seteepromloop,eeprom=s05,s06,loop,"
                      "config1=s04,config2=s04,temp=s04")
                  .outcome,
              RunOutcome::Completed);
    EXPECT_EQ(rig.buffer.flash, (std::vector<int32_t>{0x1234, 0x0001}));
    EXPECT_EQ(rig.buffer.eeprom, (std::vector<int32_t>{0x12, 0xAB}));  // low 8 bits only
    EXPECT_EQ(rig.buffer.conf[0], 0x2F4A);
    EXPECT_EQ(rig.buffer.conf[1], 0x0003);
    EXPECT_EQ(rig.engine.algstate.tempword, 0x3FF0);
    // temp=s shows no progress.
    EXPECT_EQ(rig.host.statuses,
              (std::vector<std::string>{"F:1/2", "F:2/2", "E:1/2", "E:2/2", "CONF1:", "CONF2:"}));
}

TEST(RunAlg, ConfigLoadsSendTheBufferWords) {
    EngineRig rig;
    rig.buffer.conf = {0x3F32, 0x0002};
    rig.run("s00-config1,s02-config2");
    EXPECT_EQ(rig.port.transfers,
              (std::vector<Transfer>{{0x00, 0x3F32, false}, {0x02, 0x0002, false}}));
    EXPECT_EQ(rig.host.statuses, (std::vector<std::string>{"CONF1:", "CONF2:"}));
}

TEST(RunAlg, BadArgumentsSendNothingButStillStepTheAddress) {
    EngineRig rig;
    rig.buffer.flash[1] = 0x0555;
    rig.run("s2-flash,s02-flash,s02-4000,s40,s02-3fff,s0b");
    EXPECT_EQ(
        rig.port.transfers,
        (std::vector<Transfer>{{0x02, 0x0555, false}, {0x02, 0x3FFF, false}, {0x0B, -1, false}}));
    // No loop ran: loopend keeps its earlier value (0 in a fresh state).
    EXPECT_EQ(rig.host.statuses, (std::vector<std::string>{"F:1/1", "F:2/1"}));
}

TEST(RunAlg, WaitsGoThroughTheHostClock) {
    EngineRig rig;
    rig.model.progtime = 7;
    rig.run("w25,w,w2.5,w3.5,wprog");
    EXPECT_EQ(rig.elapsedms(), 25 + 0 + 2 + 4 + 7);
    EXPECT_EQ(rig.port.lineops, 0);
}

TEST(RunAlg, BeginAndEndFollowTheVoltageOrder) {
    EngineRig rig;
    rig.model.voltageorder = 0;
    rig.run("begin,end");
    // No supply-up without an order, supply-down always; that one toggle switched the supply on,
    // so the run switches it back before it ends.
    EXPECT_EQ(rig.port.toggles, 2);
}

TEST(RunAlg, ARunThatLeavesTheSupplyOnSwitchesItOff) {
    EngineRig rig;
    const RunResult result = rig.run("begin,s06");
    EXPECT_EQ(result.outcome, RunOutcome::Completed);
    EXPECT_TRUE(result.supplyleftswitched);
    EXPECT_EQ(rig.port.toggles, 2);
}

TEST(RunAlg, UnrecognizedInstructionEndsTheProgramAndNothingRunsAfter) {
    EngineRig rig;
    const RunResult result = rig.run("begin,s06,bogus,s06,end");
    EXPECT_EQ(result.outcome, RunOutcome::ProgramEnded);
    ASSERT_EQ(rig.host.msgboxes.size(), 1u);
    EXPECT_EQ(rig.host.msgboxes[0].text,
              "Unrecognized symbolic instruction 'bogus'.\r\nThe program must end.");
    EXPECT_EQ(rig.host.msgboxes[0].type, 16);
    EXPECT_EQ(rig.host.endprogramcalls, 1);
    EXPECT_EQ(rig.port.transfers, (std::vector<Transfer>{{0x06, -1, false}}));
    // The supply is switched off before the box, since the program ends with it.
    EXPECT_EQ(rig.port.toggles, 2);
}

TEST(RunAlg, EmptyAlgorithmTextIsOneUnrecognizedInstruction) {
    EngineRig rig;
    EXPECT_EQ(rig.run("").outcome, RunOutcome::ProgramEnded);
    ASSERT_EQ(rig.host.msgboxes.size(), 1u);
    EXPECT_EQ(rig.host.msgboxes[0].text,
              "Unrecognized symbolic instruction ''.\r\nThe program must end.");
}

TEST(RunAlg, UnknownInstructionsAreFoundOnlyWhenReached) {
    EngineRig rig;
    // The loop body is skipped on an erased buffer, so the typo in it is never executed.
    EXPECT_EQ(rig.run("calcflash,setflashloop,s02-flsh,loop,s06").outcome, RunOutcome::Completed);
    EXPECT_TRUE(rig.host.msgboxes.empty());
}

TEST(StepAlg, ExecutesOneInstructionAndMovesThePc) {
    EngineRig rig;
    loadalg(rig.engine.algstate, script("s06,w5,s0b"));
    rig.engine.algstate.algpc = 2;
    EXPECT_EQ(stepalg(rig.engine), StepResult::Next);
    EXPECT_EQ(rig.engine.algstate.algpc, 3);
    EXPECT_EQ(rig.elapsedms(), 5);
    EXPECT_TRUE(rig.port.transfers.empty());
    rig.engine.algstate.algpc = 9;
    EXPECT_EQ(stepalg(rig.engine), StepResult::ScriptError);
}

}  // namespace
}  // namespace qm::test
