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
};

enum class StepResult { Next, ScriptError, ProgramEnded };

// Runs an instruction list from its first to its last instruction. A script error or a port
// failure stops the run at once; if the run left the adapter's supply switched, one more toggle
// switches it back (best effort on a failed port). Nothing runs after an unrecognized
// instruction, not even that.
RunResult runalg(Engine& engine, const std::vector<std::string>& steps);

// Executes instruction algpc and leaves algpc at the next one to run.
StepResult stepalg(Engine& engine);

// The fatal message for an unrecognized instruction.
std::string unrecognizedtext(std::string_view instruction);

}  // namespace qm
