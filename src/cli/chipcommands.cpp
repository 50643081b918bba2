// program, verify, read, erase, blank: the five chip operations on the programmer port; identify.
#include "cli/commands.h"
#include "cli/dumprows.h"
#include "cli/hexfiles.h"
#include "devices/configwords.h"
#include "engine/chipoperations.h"
#include "engine/engine.h"
#include "host/exitcode.h"
#include "link/portselect.h"
#include "platform/port/programmerport.h"
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

// After the command, also after a failure: what a cable still holds goes out, then what the
// simulated chip (and cable) found wrong is shown and its image saved. An image that could not
// be saved fails the command.
int finishport(Session& session, ProgrammerPort& port) {
    port.close();
    const ProgrammerPort::Report report = port.report();
    for (const std::string& line : report.lines) session.host.printerror(line);
    return report.imagesaved ? kExitOk : kExitPort;
}

int runoperations(Session& session, Engine& engine, const PortState& port) {
    OperationChoices choices;
    choices.idcheck = !session.options.noidcheck;
    choices.keepcalibration = !session.options.overwritecalibration.value_or(false);
    const std::string& command = session.options.command;
    if (command == "identify") {
        // Success is a chip that some model of the file has, whichever model is chosen.
        const OperationResult result = identifychip(engine, port);
        if (result.status != OperationStatus::Done) return exitcodefor(result);
        return result.idcheck.models.empty() ? kExitChip : kExitOk;
    }
    if (command == "program") {
        const OperationResult programmed = programall(engine, port, choices);
        const int code = finishoperation(session, programmed);
        // A signal after the last line change of Program All stops before Verify begins.
        if (code != kExitOk || session.options.noverify || StopSignals::received() != 0) {
            return code;
        }
        // A chip just protected reads its memory as 0: its Verify could only fail.
        const std::vector<std::string> protecting =
            protectingfields(session.activemodel, session.progbuffer.conf);
        if (!protecting.empty()) {
            session.host.setstatus(
                "Verify skipped: the configuration word keeps the chip's memory from being read "
                "back: " +
                protecting.front() + ".");
            return code;
        }
        return exitcodefor(verifyprogrammed(engine, port, programmed, choices));
    }
    if (command == "verify") return exitcodefor(verifyall(engine, port, choices));
    if (command == "erase") return finishoperation(session, eraseall(engine, port, choices));
    if (command == "blank") return exitcodefor(blankcheck(engine, port, choices));
    // read: what a wrong or missing chip gave is saved as well, as the GUI shows it.
    const int code = exitcodefor(readall(engine, port, choices));
    if (code != kExitOk && code != kExitChip) return code;
    session.out << configwordlines(session.progbuffer, session.activemodel);
    const int saved = savehex(session, session.options.args.at(0));
    return saved != kExitOk ? saved : code;
}

}  // namespace

int runchipcommand(Session& session) {
    if (const int code = session.loaddevicefile(); code != kExitOk) return code;
    if (const int code = session.choosemodel(); code != kExitOk) return code;
    const std::string& command = session.options.command;
    if (command == "program" || command == "verify") {
        if (const int code = loadhexforchip(session, session.options.args.at(0)); code != kExitOk) {
            return code;
        }
    }
    // What the words about to be programmed do that may not be meant; the run goes on.
    if (command == "program") {
        for (const std::string& warning :
             configpitfalls(session.activemodel, session.progbuffer.conf)) {
            session.host.printerror("Warning: " + warning);
        }
    }

    // From here on a stop signal ends the operation with the supply switched off and the
    // simulated chip's image saved, rather than the process on the spot.
    StopSignals signals("quellmark-cli");
    ProgrammerPort port({&session.host, &session.settings(), &session.activemodel,
                         session.clock.get(), nullptr, &StopSignals::reason});
    if (const ProgrammerPort::Opened opened =
            port.open(ProgrammerPort::Request::of(session.options));
        !opened.ok) {
        if (!opened.message.empty()) session.host.printerror(opened.message);
        return kExitPort;
    }
    // An unrecognised script instruction ends the process from inside the run; the simulated
    // chip has been changed by then and keeps that, like a real one.
    session.host.setexithook([&session, &port] {
        finishport(session, port);
        session.reportsettingsfailure();
    });

    Engine engine(session.host, port.port(), port.driver(), session.activemodel,
                  session.progbuffer);
    engine.devices = &session.devices;
    const int code =
        StopSignals::received() != 0 ? kExitOk : runoperations(session, engine, port.state());

    session.host.setexithook(nullptr);
    const int finished = finishport(session, port);
    if (const int signal = StopSignals::received(); signal != 0) return exitcodeforsignal(signal);
    return code != kExitOk ? code : finished;
}

}  // namespace qm::cli
