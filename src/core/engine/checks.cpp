#include "engine/checks.h"

#include "buffer/progbuffer.h"
#include "engine/calibration.h"
#include "engine/memoryaccess.h"
#include "engine/mismatchreport.h"
#include "text/hextext.h"

namespace qm {

namespace {

// Verify with kept calibration: a kept word that lacks its form is reported with the form as
// the value expected. True when it was.
bool keptformfault(Engine& engine, int32_t address, bool blank, const std::string& location) {
    AlgState& state = engine.algstate;
    if (blank) return false;
    const CalibrationWord* word = calibrationformfault(engine, address, state.tempword);
    if (word == nullptr) return false;
    addmismatch(engine.report, state, location, hexwordh(state.tempword), word->form + "h");
    return true;
}

StepResult checkflashword(Engine& engine, bool blank) {
    AlgState& state = engine.algstate;
    const int32_t address = state.addrcount;
    if (!flashaddressok(engine, address)) return StepResult::ScriptError;
    progressflash(engine);
    ++state.addrcount;
    ++state.algpc;
    int32_t expected = blank ? kErasedWord : engine.algstate.buffer->flash[size_t(address)];
    if (!engine.algstate.kept.empty()) {
        if (keptformfault(engine, address, blank, flashlocation(address))) return StepResult::Next;
        expected = calibratedexpected(engine, address, expected);
    }
    // The whole word as read: no mask, so stray high bits show up as mismatches.
    if (state.tempword != expected) {
        if (state.tempword == 0) ++engine.report.zeroreads;
        addmismatch(engine.report, state, flashlocation(address), hexwordh(state.tempword),
                    hexwordh(expected));
    }
    return StepResult::Next;
}

StepResult checkeeprombyte(Engine& engine, bool blank) {
    AlgState& state = engine.algstate;
    const int32_t address = state.addrcount;
    if (!eepromaddressok(engine, address)) return StepResult::ScriptError;
    progresseeprom(engine);
    ++state.addrcount;
    ++state.algpc;
    // Only the low 8 bits of a data-memory read carry data.
    const int32_t read = state.tempword & 0xFF;
    const int32_t expected = blank ? kErasedByte : engine.algstate.buffer->eeprom[size_t(address)];
    if (read != expected) {
        if (read == 0) ++engine.report.zeroreads;
        addmismatch(engine.report, state, eepromlocation(address), hexbyteh(read),
                    hexbyteh(expected));
    }
    return StepResult::Next;
}

// which: 1 = CONF1 (2007h), 2 = CONF2 (2008h).
StepResult checkconfigword(Engine& engine, int which, bool blank) {
    AlgState& state = engine.algstate;
    progressconfig(engine, which);
    ++state.algpc;
    const size_t index = size_t(which - 1);
    const int32_t address = which == 1 ? kAddrConf1 : kAddrConf2;
    engine.report.configread[index] = state.tempword & 0x3FFF;
    int32_t expected =
        blank ? engine.activemodel.erasedconfig[index] : engine.algstate.buffer->conf[index];
    if (!engine.algstate.kept.empty()) {
        if (keptformfault(engine, address, blank, conflocation(address))) return StepResult::Next;
        expected = calibratedexpected(engine, address, expected);
    }
    // Only the implemented bits: a chip may read the others as 0 or as 1. The report still shows
    // both words whole. An expected value that is no word (a configerased text that did not
    // parse) never matches.
    const int32_t mask = engine.activemodel.configmask[index];
    if (expected < 0 || (state.tempword & mask) != (expected & mask))
        addmismatch(engine.report, state, conflocation(address), hexwordh(state.tempword),
                    hexwordh(expected));
    return StepResult::Next;
}

}  // namespace

StepResult runcheck(Engine& engine, Opcode op) {
    switch (op) {
        case Opcode::CheckBlankFlash:
            return checkflashword(engine, true);
        case Opcode::CheckBlankEeprom:
            return checkeeprombyte(engine, true);
        case Opcode::CheckBlankConfig1:
            return checkconfigword(engine, 1, true);
        case Opcode::CheckBlankConfig2:
            return checkconfigword(engine, 2, true);
        case Opcode::CheckFlash:
            return checkflashword(engine, false);
        case Opcode::CheckEeprom:
            return checkeeprombyte(engine, false);
        case Opcode::CheckConfig1:
            return checkconfigword(engine, 1, false);
        case Opcode::CheckConfig2:
            return checkconfigword(engine, 2, false);
        default:
            break;
    }
    // Only the interpreter calls this, and only with a check opcode.
    engine.algstate.error.reason = "not a check instruction";
    return StepResult::ScriptError;
}

}  // namespace qm
