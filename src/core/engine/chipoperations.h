#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "devices/devicemodel.h"
#include "engine/algstate.h"
#include "engine/engine.h"
#include "link/portselect.h"

namespace qm {

enum class OperationStatus {
    Done,          // the script ran to its end (Program, Read, Erase; Blank Check / Verify clean)
    Mismatches,    // Blank Check or Verify found differences; the report is in Engine::report
    PortNotReady,  // nothing was done
    PortFailed,    // the port failed while the script ran
    ScriptError,   // the script was malformed and was stopped
    ProgramEnded,  // an unrecognized instruction: the host has been told to end the program
};

struct OperationResult {
    OperationStatus status = OperationStatus::Done;
    int32_t mismatchcount = 0;  // Blank Check and Verify
    std::string statustext;     // the last text put on the status line
    ScriptError error;          // for ScriptError
    std::string porterror;      // for PortFailed, may be empty
};

// The frame around one operation's script: port check, timing, disable/enable, start and
// outcome texts, Read All's buffer reset and redraw, the mismatch box of Blank Check and Verify.
OperationResult runoperation(Engine& engine, Operation operation, const PortState& port);

OperationResult programall(Engine& engine, const PortState& port);
OperationResult readall(Engine& engine, const PortState& port);
OperationResult eraseall(Engine& engine, const PortState& port);
OperationResult blankcheck(Engine& engine, const PortState& port);
OperationResult verifyall(Engine& engine, const PortState& port);

// Status and message texts of the outcomes that are not the script's own.
std::string portfailedtext(std::string_view reason);
std::string scripterrorstatus(const ScriptError& error);
std::string scripterrormessage(const ScriptError& error);

}  // namespace qm
