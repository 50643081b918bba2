#include "engine/checks.h"

#include <gtest/gtest.h>

#include "core/engine/enginerig.h"
#include "engine/mismatchreport.h"
#include "text/hextext.h"

namespace qm::test {
namespace {

const std::string kHeader = "Memory Location,   Read Value,   Expected,\r\n";

struct CheckRig : EngineRig {
    CheckRig() { beginreport(engine.report); }
    // Runs a script in which every temp=s04/05 reads the next value of `values`.
    RunResult checks(std::string_view text, std::vector<int32_t> values) {
        port.reads.assign(values.begin(), values.end());
        return run(text);
    }
    const std::string& report() const { return engine.report.mismatchreport; }
    int32_t count() const { return engine.report.mismatchcount; }
};

TEST(MismatchReport, BeginResetsTextAndCount) {
    MismatchReport report;
    AlgState state;
    state.algcount = 5;
    addmismatch(report, state, "a", "b", "c");
    beginreport(report);
    EXPECT_EQ(report.mismatchreport, kHeader);
    EXPECT_EQ(report.mismatchcount, 0);
}

TEST(Checks, BlankChecksOnBlankValuesReportNothing) {
    CheckRig rig;
    rig.checks(
        "temp=s04,checkblankflash,temp=s05,checkblankeeprom,temp=s04,checkblankconfig1,"
        "temp=s04,checkblankconfig2",
        {0x3FFF, 0x3FFF, 0x3FFF, 0x3FFF});  // EEPROM read 3FFFh is blank: low byte FFh
    EXPECT_EQ(rig.count(), 0);
    EXPECT_EQ(rig.report(), kHeader);
    EXPECT_EQ(rig.host.statuses, (std::vector<std::string>{"F:1/1", "E:2/1", "CONF1:", "CONF2:"}));
}

TEST(Checks, EachCheckWritesItsExactLine) {
    CheckRig rig;
    rig.model.erasedconfig = {0x3FFF, 0x0003};
    rig.buffer.flash[1] = 0x2000;
    rig.buffer.eeprom[3] = 0x42;
    rig.buffer.conf = {0x3F32, 0x0001};
    rig.checks(
        "temp=s04,checkblankflash,temp=s04,checkflash,temp=s05,checkblankeeprom,"
        "temp=s05,checkeeprom,temp=s04,checkblankconfig1,temp=s04,checkblankconfig2,"
        "temp=s04,checkconfig1,temp=s04,checkconfig2",
        {0x1234, 0x2001, 0x00FE, 0x3F41, 0x3F32, 0x3FFF, 0x3FFF, 0x0000});
    EXPECT_EQ(rig.count(), 8);
    EXPECT_EQ(rig.report(), kHeader +
                                "FLASH Word 0000h,   1234h,   3FFFh,\r\n"
                                "FLASH Word 0001h,   2001h,   2000h,\r\n"
                                "EEPROM Byte 0002h,   FEh,   FFh,\r\n"
                                "EEPROM Byte 0003h,   41h,   42h,\r\n"
                                "CONF Word 2007h,   3F32h,   3FFFh,\r\n"
                                "CONF Word 2008h,   3FFFh,   0003h,\r\n"
                                "CONF Word 2007h,   3FFFh,   3F32h,\r\n"
                                "CONF Word 2008h,   0000h,   0001h,\r\n");
}

TEST(Checks, FlashComparesAllBitsEepromOnlyTheLowByte) {
    CheckRig rig;
    rig.engine.algstate.tempword = 0x7FFF;
    rig.run("checkblankflash");
    rig.buffer.eeprom[0] = 0x42;
    rig.checks("temp=s05,checkeeprom", {0x3F42});
    EXPECT_EQ(rig.count(), 1);
    EXPECT_EQ(rig.report(), kHeader + "FLASH Word 0000h,   7FFFh,   3FFFh,\r\n");
}

TEST(Checks, ConfigChecksNeitherMoveTheAddressNorConsultConfig2Used) {
    CheckRig rig;
    rig.model.config2used = false;
    rig.checks("temp=s04,checkconfig2,checkconfig1,checkblankflash", {0x0000});
    EXPECT_EQ(rig.count(), 3);
    EXPECT_NE(rig.report().find("CONF Word 2008h,   0000h,   3FFFh,"), std::string::npos);
    EXPECT_NE(rig.report().find("FLASH Word 0000h,"), std::string::npos);
}

TEST(Checks, ConfigChecksCompareOnlyTheImplementedBitsAndShowBothWordsWhole) {
    CheckRig rig;
    rig.model.configmask = {0x21FF, 0x0003};
    rig.model.erasedconfig = {0x3FFF, -1};  // CONF2's text was no word: it never matches
    rig.buffer.conf = {0x3F30, 0x3FFE};
    rig.checks(
        "temp=s04,checkblankconfig1,temp=s04,checkblankconfig2,temp=s04,checkconfig1,"
        "temp=s04,checkconfig2,temp=s04,checkconfig1",
        {0x21FF, 0x3FFF, 0x2130, 0x0002, 0x2131});
    EXPECT_EQ(rig.report(), kHeader +
                                "CONF Word 2008h,   3FFFh,   FFFFh,\r\n"
                                "CONF Word 2007h,   2131h,   3F30h,\r\n");
}

TEST(Checks, ChecksSendNothing) {
    CheckRig rig;
    rig.engine.algstate.tempword = 0;
    rig.run("checkblankflash,checkeeprom,checkconfig1,checkblankconfig2");
    EXPECT_EQ(rig.port.lineops, 0);
    EXPECT_EQ(rig.count(), 4);
}

// 30 and 40 non-blank words: the 25th line sends the run to its last instruction.
TEST(MismatchLimit, TwentyFifthLineEndsTheLoop) {
    for (int32_t words : {30, 40}) {
        CheckRig rig;
        rig.model.flashsize = words;
        rig.reset();
        rig.port.readfunction = [](int32_t) { return 0x0000; };
        const RunResult result =
            rig.run("begin,setflashloop,temp=s04,checkblankflash,s06,loop,end");
        ASSERT_EQ(result.outcome, RunOutcome::Completed);
        EXPECT_EQ(rig.count(), 25);
        std::string expected = kHeader;
        for (int32_t a = 0; a < 25; ++a)
            expected += "FLASH Word " + hexwordh(a) + ",   0000h,   3FFFh,\r\n";
        EXPECT_EQ(rig.report(), expected);
        // 25 reads, 24 increments (the jump skips the 25th), and the last instruction ran.
        EXPECT_EQ(rig.port.transfers.size(), 49u);
        EXPECT_EQ(rig.port.toggles, 2);
    }
}

TEST(MismatchLimit, ACheckAsLastInstructionAddsATwentySixthLine) {
    CheckRig rig;
    rig.model.flashsize = 40;
    rig.reset();
    rig.port.readfunction = [](int32_t) { return 0x0000; };
    rig.run("setflashloop,temp=s04,checkblankflash,loop,checkblankflash");
    EXPECT_EQ(rig.count(), 26);
    EXPECT_NE(rig.report().find("FLASH Word 0019h,   0000h,   3FFFh,\r\n"), std::string::npos);
}

TEST(MismatchLimit, AFinalLoopJumpsBackAndCountingGoesOn) {
    CheckRig rig;
    rig.model.flashsize = 40;
    rig.reset();
    rig.port.readfunction = [](int32_t) { return 0x0000; };
    ASSERT_EQ(rig.run("setflashloop,temp=s04,checkblankflash,s06,loop").outcome,
              RunOutcome::Completed);
    EXPECT_EQ(rig.count(), 40);
}

// The 25th mismatch sends the run to a final "loop" from a pass that skipped its memory
// instruction, or from between two loops after the first has ended. That "loop" goes back to the
// last loop head as always, and the run ends there, counting on.
TEST(MismatchLimit, AFinalLoopReachedByTheLimitIsNotAScriptError) {
    const struct {
        int32_t flash;
        const char* script;
        int32_t mismatches;
    } cases[] = {
        // Config mismatches are the odd ones: the 25th cuts the 13th pass before its flash check;
        // the loop then goes on from address 12 to 15.
        {16, "setflashloop,temp=s04,checkblankconfig1,temp=s04,checkblankflash,loop", 33},
        // 24 FLASH mismatches, the 25th at CONF1: back to the ended FLASH loop, which runs again
        // (24), then CONF1 and the EEPROM loop (1 + 8).
        {24,
         "setflashloop,temp=s04,checkblankflash,loop,temp=s04,checkblankconfig1,"
         "seteepromloop,temp=s05,checkblankeeprom,loop",
         58},
    };
    for (const auto& c : cases) {
        CheckRig rig;
        rig.model.flashsize = c.flash;
        rig.reset();
        rig.port.readfunction = [](int32_t) { return 0x0000; };
        const RunResult result = rig.run(c.script);
        EXPECT_EQ(result.outcome, RunOutcome::Completed) << c.script << ": " << result.error.reason;
        EXPECT_EQ(rig.count(), c.mismatches) << c.script;
    }
}

TEST(MismatchLimit, ChecksOutsideBlankCheckAndVerifyCountOn) {
    CheckRig rig;
    rig.engine.report.mismatchcount = 24;
    rig.engine.algstate.tempword = 0;
    rig.run("checkblankflash,s06,s06,s0b");
    EXPECT_EQ(rig.count(), 25);
    EXPECT_EQ(rig.port.transfers, (std::vector<Transfer>{{0x0B, -1, false}}));
}

}  // namespace
}  // namespace qm::test
