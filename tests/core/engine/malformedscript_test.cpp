#include <gtest/gtest.h>

#include "core/engine/enginerig.h"
#include "engine/interpreter.h"

namespace qm::test {
namespace {

struct Malformed {
    const char* name;
    const char* script;
    int32_t instruction;  // the instruction reported
    const char* reasonpart;
};

// Every case must stop (a hang would time the test out), name the instruction, and leave the
// adapter's supply as the run found it.
TEST(MalformedScript, StopsAndSaysWhereAndWhy) {
    const Malformed cases[] = {
        {"loop head without loop", "begin,setflashloop,s02-flash,s06,end", 2, "no \"loop\" after"},
        {"loop without head", "begin,s06,loop,end", 3, "no loop head"},
        {"ifpage without endifpage", "begin,setflashloop,s02-flash,ifpage,s08,loop,end", 4,
         "no \"endifpage\""},
        {"body that does not advance", "begin,setflashloop,s06,loop,end", 4, "does not advance"},
        {"body advancing only inside a skipped page block",
         "begin,setflashloop,ifpage,s02-flash,endifpage,loop,end", 6, "does not advance"},
        {"loop restarted after it ended", "begin,setflashloop,s02-flash,loop,loop,end", 5,
         "already ended"},
        {"loop reached again after its head jumped past it",
         "begin,calcflash,setflashloop,loop,s02-flash,loop,end", 6, "already ended"},
        {"straight-line words past the end", "begin,calcflash,s02-flash,s02-flash,s02-flash", 5,
         "past the end of FLASH"},
        {"EEPROM words in a longer FLASH loop", "begin,setflashloop,s03-eeprom,loop,end", 3,
         "past the end of EEPROM"},
        {"check past the end", "seteepromloop,temp=s05,checkeeprom,checkeeprom,loop", 4,
         "past the end of EEPROM"},
        {"negative wait", "begin,w-5,end", 2, "negative"},
    };
    for (const Malformed& c : cases) {
        EngineRig rig;
        rig.model.flashsize = 2;
        rig.model.eepromsize = 1;
        rig.reset();
        const RunResult result = rig.run(c.script);
        ASSERT_EQ(result.outcome, RunOutcome::ScriptError) << c.name;
        EXPECT_EQ(result.error.instruction, c.instruction) << c.name;
        EXPECT_EQ(result.error.text, script(c.script)[size_t(c.instruction - 1)]) << c.name;
        EXPECT_NE(result.error.reason.find(c.reasonpart), std::string::npos)
            << c.name << ": " << result.error.reason;
        EXPECT_EQ(rig.port.toggles % 2, 0) << c.name << ": supply left switched";
        EXPECT_TRUE(rig.host.msgboxes.empty()) << c.name;  // the operation reports it
        EXPECT_EQ(rig.host.endprogramcalls, 0) << c.name;
    }
}

TEST(MalformedScript, PageInstructionsNeedAPageSize) {
    for (const char* text : {"calcflashpage,setflashloop,s02-flash,loop", "ifpage,endifpage"}) {
        for (int32_t pagesize : {0, -4}) {
            EngineRig rig;
            rig.model.pagesize = pagesize;
            const RunResult result = rig.run(text);
            ASSERT_EQ(result.outcome, RunOutcome::ScriptError) << text;
            EXPECT_EQ(result.error.instruction, 1);
            EXPECT_NE(result.error.reason.find("page size is " + std::to_string(pagesize)),
                      std::string::npos);
            EXPECT_TRUE(rig.port.transfers.empty());
        }
    }
}

TEST(MalformedScript, LoopPastTheBufferStopsBeforeItsFirstWord) {
    // 10 words are not a whole number of 4-word pages: the last page would end at 11.
    EngineRig rig;
    rig.model.flashsize = 10;
    rig.reset();
    rig.buffer.flash[9] = 0;
    const RunResult result = rig.run("begin,calcflashpage,setflashloop,s02-flash,s06,loop,end");
    ASSERT_EQ(result.outcome, RunOutcome::ScriptError);
    EXPECT_EQ(result.error.instruction, 3);
    EXPECT_NE(result.error.reason.find("last address is 000Bh"), std::string::npos)
        << result.error.reason;
    EXPECT_TRUE(rig.port.transfers.empty());
    EXPECT_EQ(rig.port.toggles, 2);  // switched on by begin, off again by the stop
}

TEST(MalformedScript, NegativeProgrammingTime) {
    EngineRig rig;
    rig.model.progtime = -1;
    const RunResult result = rig.run("wprog");
    ASSERT_EQ(result.outcome, RunOutcome::ScriptError);
    EXPECT_EQ(rig.elapsedms(), 0);
}

TEST(MalformedScript, SupplyIsLeftAloneWhenTheRunDidNotSwitchIt) {
    EngineRig rig;
    ASSERT_EQ(rig.run("begin,end,loop").outcome, RunOutcome::ScriptError);
    EXPECT_EQ(rig.port.toggles, 2);
    EngineRig noorder;
    noorder.model.voltageorder = 0;  // begin toggles nothing
    ASSERT_EQ(noorder.run("begin,loop").outcome, RunOutcome::ScriptError);
    EXPECT_EQ(noorder.port.toggles, 0);
}

TEST(PortFailure, StopsTheRunWithinOneInstruction) {
    EngineRig rig;
    rig.model.flashsize = 4096;
    rig.reset();
    rig.host.countingclock().recordsleeps = false;
    rig.port.failafter = 2000;  // somewhere in the first few dozen words
    const RunResult result = rig.run("begin,setflashloop,s02-flash,s08,wprog,s06,loop,end");
    ASSERT_EQ(result.outcome, RunOutcome::PortFailed);
    EXPECT_EQ(result.porterror, "the adapter was unplugged");
    // What was under way finishes its transfer; then only the power-off toggle follows.
    EXPECT_LE(rig.port.opsafterfailure, 70);
    EXPECT_LT(rig.port.transfers.size(), 60u);
    EXPECT_EQ(rig.port.toggles, 2);
}

TEST(PortFailure, ALongReadLoopDoesNotRunOn) {
    EngineRig rig;
    rig.model.flashsize = 8192;
    rig.reset();
    rig.port.failafter = 500;
    const RunResult result = rig.run("setflashloop,flash=s04,s06,loop");
    ASSERT_EQ(result.outcome, RunOutcome::PortFailed);
    EXPECT_LE(rig.port.opsafterfailure, 70);
    EXPECT_EQ(rig.port.toggles, 0);  // the run never switched the supply
}

TEST(PortFailure, AFailedPortRunsNothing) {
    EngineRig rig;
    rig.port.failafter = 1;
    rig.driver.clocklow();  // the one operation that fails it
    const int64_t before = rig.port.lineops;
    EXPECT_EQ(rig.run("begin,s06,end").outcome, RunOutcome::PortFailed);
    EXPECT_EQ(rig.port.lineops, before);
}

}  // namespace
}  // namespace qm::test
