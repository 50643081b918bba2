#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/algstate.h"
#include "engine/engine.h"

namespace qm {

// How a run ended.
enum class RunOutcome {
    Completed,     // algpc passed algcount
    ScriptError,   // a malformed script was stopped; AlgState::error says where and why
    PortFailed,    // the serial port failed; RunResult::porterror says why
    ProgramEnded,  // an unrecognized instruction: the host was told to end the program
};

struct RunResult {
    RunOutcome outcome = RunOutcome::Completed;
    ScriptError error;      // for ScriptError
    std::string porterror;  // for PortFailed: the port's own reason, may be empty
    // Completed, but the script left the supply switched (a "begin" without its "end"); the
    // run has switched it back.
    bool supplyleftswitched = false;
};

enum class StepResult { Next, ScriptError, ProgramEnded };

// Runs an instruction list from its first to its last instruction. A script error or a port
// failure stops the run at once. However the run ends, if it left the adapter's supply switched
// (a "begin" without its "end"), one more toggle switches it back: after the last instruction,
// after a script error, before the box of an unrecognized instruction (after which the host ends
// the program and nothing more runs), and, as far as the port still goes, after a lost port.
//
// Script errors are found when the instruction runs, in script order, like unrecognized
// instructions, and stop the run before it can hang or index outside the buffer:
//   - a loop head with no "loop" after it;
//   - "loop" before any loop head of this run, or after the loop of the last head has ended
//     (it would start that loop over and over);
//   - "loop" reached without addrcount having moved past its value at the loop head (the body
//     never advances, so the loop would never end);
//   - "ifpage" with no "endifpage" after it;
//   - "calcflashpage" or "ifpage" with a page size below 1;
//   - a loop head whose last address lies beyond the buffer (checked before its first pass), and
//     any memory instruction or check whose address lies beyond the buffer;
//   - a negative "w" wait or a negative programming time for "wprog".
// These rules are what makes every run finite: jumps back only come from "loop", and each one
// needs addrcount to have grown since its head, which the buffer bounds. The one exception is
// the "loop" that the 25th mismatch sends the run to: it goes back to its head even when the
// cut-short pass did not advance or the loop had ended, as the script language says; that can
// happen once per run.
// The operation frame (chipoperations.h) shows the error on the status line and in an error
// message box.
// The five operations' scripts use the original language; the script kinds the device file adds
// (identify, calibration) the extended one.
// What a run is given beside its instruction list.
struct RunInputs {
    ScriptLanguage language = ScriptLanguage::Original;
    // The buffer the run reads and writes; nullptr: the engine's.
    ProgBuffer* buffer = nullptr;
    // Kept calibration words the checks expect at their locations (calibration.h).
    std::vector<int32_t> kept;
};
RunResult runalg(Engine& engine, const std::vector<std::string>& steps,
                 const RunInputs& inputs = {});

// The start of runalg without the run: loads the list and sets the registers a run starts
// with, so a caller can execute it with stepalg one instruction at a time.
void startalg(Engine& engine, const std::vector<std::string>& steps, const RunInputs& inputs = {});

// A script of a kind the device file adds (identify, calibration) run beside an operation: on a
// copy of the buffer and with interpreter state of its own (the calibration registers preset),
// in the extended language, so the buffer, the mismatch report and the registers of the
// operation's own run stay as they were. A script that leaves the supply switched on is
// switched off and counts as a script error; a script error's reason names the script ("in the
// identify script").
struct SideRun {
    RunResult run;
    AlgState state;  // as the script left it
};
SideRun runbeside(Engine& engine, const std::vector<std::string>& steps,
                  const std::string& scriptname,
                  const std::array<int32_t, kCalRegisters>& registers = {});

// Executes instruction algpc and leaves algpc at the next one to run.
StepResult stepalg(Engine& engine);

// The fatal message for an unrecognized instruction.
std::string unrecognizedtext(std::string_view instruction);

}  // namespace qm
