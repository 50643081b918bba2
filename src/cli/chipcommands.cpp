// program, verify, read, erase, blank: the five chip operations on the programmer port; identify.
#include "cli/chipport.h"
#include "cli/commands.h"
#include "cli/hexfiles.h"
#include "engine/chipoperations.h"
#include "engine/engine.h"
#include "host/exitcode.h"
#include "link/portselect.h"
#include "platform/stopsignals.h"

namespace qm::cli {

namespace {

// A chip that is missing or not the model's: the operation was stopped, or (for the reading
// operations) went on after the warning, and its outcome is not the chip's it was meant for.
bool chipinquestion(const OperationResult& result) {
    const ChipIdentity identity = result.idcheck.identity;
    return identity == ChipIdentity::NoChip || identity == ChipIdentity::WrongChip;
}

int exitcodefor(const OperationResult& result) {
    switch (result.status) {
        case OperationStatus::Done:
            return chipinquestion(result) ? kExitChip : kExitOk;
        case OperationStatus::Mismatches:
            return chipinquestion(result) ? kExitChip : kExitMismatch;
        case OperationStatus::NoChip:
        case OperationStatus::WrongChip:
            return kExitChip;
        case OperationStatus::NoIdentifyScript:
            return kExitDevice;
        case OperationStatus::CalibrationRefused:
        case OperationStatus::CalibrationLost:
            return kExitCalibration;
        case OperationStatus::PortNotReady:
        case OperationStatus::PortFailed:
            return kExitPort;
        case OperationStatus::ScriptError:
        case OperationStatus::ProgramEnded:
            return kExitDevice;
    }
    return kExitDevice;
}

// The exit code of an operation, with the command line's way out of a refusal to erase a chip
// whose calibration seems lost.
int finishoperation(Session& session, const OperationResult& result) {
    if (result.status == OperationStatus::CalibrationRefused)
        session.host.printerror(
            "quellmark-cli: --overwrite-calibration writes the HEX file's values at the "
            "calibration locations instead of keeping the chip's.");
    return exitcodefor(result);
}

int runoperations(Session& session, Engine& engine, const PortState& port) {
    const std::string& command = session.options.command;
    if (command == "identify") {
        // Success is a chip that some model of the file has, whichever model is chosen.
        const OperationResult result = identifychip(engine, port);
        if (result.status != OperationStatus::Done) return exitcodefor(result);
        return result.idcheck.models.empty() ? kExitChip : kExitOk;
    }
    if (command == "program") {
        const OperationResult programmed = programall(engine, port);
        const int code = finishoperation(session, programmed);
        // A signal after the last line change of Program All stops before Verify begins.
        if (code != kExitOk || session.options.noverify || StopSignals::received() != 0) {
            return code;
        }
        return exitcodefor(verifyprogrammed(engine, port, programmed));
    }
    if (command == "verify") return exitcodefor(verifyall(engine, port));
    if (command == "erase") return finishoperation(session, eraseall(engine, port));
    if (command == "blank") return exitcodefor(blankcheck(engine, port));
    // read: what a wrong or missing chip gave is saved as well, as the GUI shows it.
    const int code = exitcodefor(readall(engine, port));
    if (code != kExitOk && code != kExitChip) return code;
    const int saved = savehex(session, session.options.args.at(0));
    return saved != kExitOk ? saved : code;
}

}  // namespace

int runchipcommand(Session& session) {
    if (const int code = session.loaddevicefile(); code != kExitOk) return code;
    if (const int code = session.choosemodel(); code != kExitOk) return code;
    const std::string& command = session.options.command;
    if (command == "program" || command == "verify") {
        if (const int code = loadhex(session, session.options.args.at(0)); code != kExitOk) {
            return code;
        }
    }

    // From here on Ctrl-C ends the operation with the supply switched off and the simulated
    // chip's image saved, rather than the process on the spot.
    StopSignals signals("quellmark-cli");
    ChipPort chipport;
    if (const int code = chipport.open(session); code != kExitOk) return code;
    // An unrecognised script instruction ends the process from inside the run; the simulated
    // chip has been changed by then and keeps that, like a real one.
    session.host.setexithook([&session, &chipport] {
        chipport.finish(session);
        session.reportsettingsfailure();
    });

    Engine engine(session.host, chipport.port(), chipport.linedriver(), session.activemodel,
                  session.progbuffer);
    engine.devices = &session.devices;
    engine.idcheck = !session.options.noidcheck;
    engine.keepcalibration = !session.options.overwritecalibration;
    PortState port;
    port.portready = true;
    port.portnumber = chipport.portnumber();
    const int code = StopSignals::received() != 0 ? kExitOk : runoperations(session, engine, port);

    session.host.setexithook(nullptr);
    const int finished = chipport.finish(session);
    if (const int signal = StopSignals::received(); signal != 0) return exitcodeforsignal(signal);
    return code != kExitOk ? code : finished;
}

}  // namespace qm::cli
