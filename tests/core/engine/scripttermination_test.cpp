// Random scripts over the whole instruction set: every run must come to an end (normally, with
// a script error, or at an unrecognized instruction) within a bounded number of steps, and must
// leave the buffer's size alone. Run under the address sanitizer this also shows that no
// instruction indexes outside the buffer.
#include <gtest/gtest.h>

#include <random>

#include "core/engine/enginerig.h"
#include "engine/interpreter.h"

namespace qm::test {
namespace {

const char* const kVocabulary[] = {
    "begin",
    "end",
    "calcflash",
    "calcflashpage",
    "calceeprom",
    "setflashloop",
    "seteepromloop",
    "loop",
    "loop",
    "ifpage",
    "endifpage",
    "s02-flash",
    "s02-flash",
    "s03-eeprom",
    "flash=s04",
    "eeprom=s05",
    "temp=s04",
    "checkflash",
    "checkblankeeprom",
    "checkconfig1",
    "s06",
    "s08",
    "w1",
    "wprog",
    "s00-config1",
};

TEST(ScriptTermination, RandomScriptsAlwaysEnd) {
    std::mt19937 random(20240611);
    auto pick = [&](int n) { return int(random() % unsigned(n)); };
    int errors = 0;
    int completed = 0;
    for (int round = 0; round < 4000; ++round) {
        EngineRig rig;
        rig.model.flashsize = 1 + pick(10);
        rig.model.eepromsize = pick(5);
        rig.model.pagesize = pick(5);
        rig.model.progtime = 1;
        rig.reset();
        for (int32_t& w : rig.buffer.flash) w = pick(3) == 0 ? 0x0123 : 0x3FFF;
        for (int32_t& b : rig.buffer.eeprom) b = pick(3) == 0 ? 0x12 : 0xFF;
        rig.port.readfunction = [&](int32_t) { return pick(2) == 0 ? 0x3FFF : 0x0000; };
        // Close to the mismatch limit, so its jump to the last instruction comes up often.
        rig.engine.report.mismatchcount = 20 + pick(6);

        std::vector<std::string> steps;
        const int length = 1 + pick(12);
        for (int i = 0; i < length; ++i) steps.push_back(kVocabulary[pick(std::size(kVocabulary))]);

        startalg(rig.engine, steps);
        AlgState& state = rig.engine.algstate;
        int budget = 100000;
        StepResult step = StepResult::Next;
        while (state.algpc <= state.algcount && step == StepResult::Next && budget-- > 0)
            step = stepalg(rig.engine);
        std::string text;
        for (const std::string& s : steps) text += s + ",";
        ASSERT_GT(budget, 0) << "did not end: " << text;
        ASSERT_EQ(rig.buffer.flash.size(), size_t(rig.model.flashsize)) << text;
        ASSERT_EQ(rig.buffer.eeprom.size(), size_t(rig.model.eepromsize)) << text;
        if (step == StepResult::ScriptError) {
            ++errors;
            ASSERT_FALSE(state.error.reason.empty()) << text;
            ASSERT_EQ(state.error.text, steps[size_t(state.error.instruction - 1)]) << text;
        } else {
            ++completed;
        }
    }
    // Both kinds of outcome must be common, or the scripts test nothing.
    EXPECT_GT(errors, 500);
    EXPECT_GT(completed, 500);
}

}  // namespace
}  // namespace qm::test
