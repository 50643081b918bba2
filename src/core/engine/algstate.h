#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "buffer/progbuffer.h"
#include "script/instruction.h"

namespace qm {

// Why a run was stopped before its end because the script cannot be run safely.
struct ScriptError {
    int32_t instruction = 0;  // number counted from 1, as scripts count them
    std::string text;         // the instruction as stored
    std::string reason;
};

// The interpreter's state. The first block carries the script language's own registers; the
// rest is bookkeeping that lets a run stop malformed scripts instead of looping forever.
struct AlgState {
    std::vector<std::string> algprog;  // instruction n is algprog[n - 1]
    int32_t algcount = 0;
    int32_t algpc = 0;       // number of the instruction to execute next
    int32_t addrcount = 0;   // FLASH word or EEPROM byte address of the next memory instruction
    int32_t flashlast = -1;  // last FLASH address a FLASH loop covers
    int32_t eepromlast = -1;
    int32_t loopstart = 0;  // number of the loop head last executed
    int32_t loopend = 0;    // last address of the loop last started, for the progress texts
    int32_t tempword = 0;   // word read by the last "temp=s"
    // Calibration registers cal1..cal8 (index 0..7) of the calibration scripts.
    std::array<int32_t, kCalRegisters> cal{};
    // The instructions the loaded list may use.
    ScriptLanguage language = ScriptLanguage::Original;
    // The buffer the run reads and writes: the engine's, or the image Program All programs from
    // when it keeps calibration words. Set by startalg.
    ProgBuffer* buffer = nullptr;
    // Calibration words the run's checks expect at their locations instead of the buffer's
    // values (calibration.h); empty when none are kept.
    std::vector<int32_t> kept;

    // algprog decoded; same length as algprog.
    std::vector<Instruction> decoded;

    // A loop head has run in this run (a "loop" before any head has nowhere to go back to).
    bool loopheadrun = false;
    // The last loop head executed ended its loop; a "loop" now would restart a finished loop.
    bool loopended = false;
    // addrcount when the last loop head executed: a pass that does not move past it never ends.
    int32_t loopheadaddr = 0;
    // Supply toggles of this run so far are odd: the adapter is not as the run found it.
    bool supplyflipped = false;
    // The mismatch limit has just sent the run to its last instruction, past whatever the loop
    // pass had left to do.
    bool mismatchjump = false;

    ScriptError error;
};

// Copies a list into algprog, decodes it and sets algcount. Registers are left alone.
void loadalg(AlgState& state, const std::vector<std::string>& steps,
             ScriptLanguage language = ScriptLanguage::Original);

}  // namespace qm
