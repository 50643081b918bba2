#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "devices/devicemodel.h"
#include "engine/algstate.h"
#include "engine/engine.h"
#include "engine/idcheck.h"
#include "link/portselect.h"

namespace qm {

enum class OperationStatus {
    Done,          // the script ran to its end (Program, Read, Erase; Blank Check / Verify clean)
    Mismatches,    // Blank Check or Verify found differences; the report is in Engine::report
    PortNotReady,  // nothing was done
    PortFailed,    // the port failed while the script ran
    ScriptError,   // the script was malformed and was stopped
    ProgramEnded,  // an unrecognized instruction: the host has been told to end the program
    NoChip,        // the device ID check found no chip: nothing was erased or written
    WrongChip,     // the device ID check found another chip: nothing was erased or written
    NoIdentifyScript,  // identify on a model without an identify script; nothing was done
    // A calibration word to keep lacks the form the model gives it: nothing was erased or
    // written.
    CalibrationRefused,
    // The calibration read back after Program All or Erase All differs from the one kept.
    CalibrationLost,
};

struct OperationResult {
    OperationStatus status = OperationStatus::Done;
    int32_t mismatchcount = 0;  // Blank Check and Verify
    std::string statustext;     // the last text put on the status line
    ScriptError error;          // for ScriptError
    std::string porterror;      // for PortFailed, may be empty
    // The device ID check. Read All, Blank Check and Verify go on after a failed check (they
    // change nothing on the chip), so their status can be Done with a NoChip or WrongChip here.
    IdCheck idcheck;
    // The chip's calibration words as read at the start (calibration.h); empty when none were.
    std::vector<int32_t> calibration;
};

// The frame around one operation's script: port check, timing, disable/enable, start and
// outcome texts, Read All's buffer reset and redraw, the mismatch box of Blank Check and Verify.
// A run that does not reach its end still re-enables the commands: a lost port puts
// "Operation failed: " and the port's reason on the status line; a script error puts
// "Operation failed: script error in instruction n ('text')." there and explains it in an error
// box. Neither shows an elapsed time or a mismatch report. After an unrecognized instruction
// the host ends the program and nothing more is done, not even enable.
//
// What an operation is asked to do beside its script.
struct OperationChoices {
    // Read the chip's device ID first (on a model that has one).
    bool idcheck = true;
    // Keep the model's calibration words (calibration.h). Off, Program All writes the buffer's
    // values there and the checks compare with the buffer.
    bool keepcalibration = true;
};

// On a model with a device ID (and with the ID check chosen) the operation first runs the model's
// identify script, after its start text. When the ID says there is no chip or another one,
// Program All and Erase All stop there, before their own script, with the check's status text
// and an error box; Read All, Blank Check and Verify show the box as a warning and go on.
//
// On a model that keeps calibration words (with keeping chosen) the operation then
// reads them and shows them on the status line ("Keeping the calibration: ..." before Program
// All and Erase All, "Calibration read: ..." before the others). Program All and Erase All stop
// before anything is erased when a word lacks its form; they keep the words (calibration.h) and
// read them again at the end, and a word that changed fails the operation. A run that stops
// after the words were read shows them in an error box, so they are not lost.
OperationResult runoperation(Engine& engine, Operation operation, const PortState& port,
                             const OperationChoices& choices = {});

// Reads the chip's device ID with the model's identify script and shows it with the models of
// the device file that have it ("Device ID 0E27h: 16F877A, revision 7."), or, when no chip
// answers, stops as the operations do. Needs no device ID on the model, only the script.
OperationResult identifychip(Engine& engine, const PortState& port);

OperationResult programall(Engine& engine, const PortState& port,
                           const OperationChoices& choices = {});
OperationResult readall(Engine& engine, const PortState& port,
                        const OperationChoices& choices = {});
OperationResult eraseall(Engine& engine, const PortState& port,
                         const OperationChoices& choices = {});
OperationResult blankcheck(Engine& engine, const PortState& port,
                           const OperationChoices& choices = {});
OperationResult verifyall(Engine& engine, const PortState& port,
                          const OperationChoices& choices = {});

// Verify straight after `programmed`, the Program All of the same command: when that one was
// done, its check has just found the model's chip (or had none to make) and nothing can have
// changed the socket since, so the ID is not read again; else as verifyall.
OperationResult verifyprogrammed(Engine& engine, const PortState& port,
                                 const OperationResult& programmed, OperationChoices choices = {});

// Status and message texts of the outcomes that are not the script's own.
std::string portfailedtext(std::string_view reason);
std::string scripterrorstatus(const ScriptError& error);
std::string scripterrormessage(const ScriptError& error);

}  // namespace qm
