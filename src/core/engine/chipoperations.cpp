#include "engine/chipoperations.h"

#include "buffer/progbuffer.h"
#include "engine/elapsedtext.h"
#include "engine/interpreter.h"
#include "engine/mismatchreport.h"

namespace qm {

namespace {

struct OperationTexts {
    const char* start;
    const char* done;
    const char* failed;   // Blank Check / Verify with mismatches; nullptr for the others
    const char* heading;  // first line of the mismatch box
};

const OperationTexts& textsof(Operation operation) {
    static const OperationTexts kErase{"Begin erase all.", "Chip erased. ", nullptr, nullptr};
    static const OperationTexts kProgram{"Begin program all.", "Chip programmed. ", nullptr,
                                         nullptr};
    static const OperationTexts kRead{"Begin read all.", "Chip read. ", nullptr, nullptr};
    static const OperationTexts kBlank{"Begin blank check.", "Chip is blank. ",
                                       "Chip is not blank. ", "Chip is not blank:"};
    static const OperationTexts kVerify{"Begin verify.", "Chip verified. ", "Chip verify failed. ",
                                        "Chip verify failed:"};
    switch (operation) {
        case Operation::Erase: return kErase;
        case Operation::Program: return kProgram;
        case Operation::Read: return kRead;
        case Operation::BlankCheck: return kBlank;
        case Operation::Verify: break;
    }
    return kVerify;
}

const std::vector<std::string>& stepsof(const ActiveModel& model, Operation operation) {
    return model.steps[size_t(static_cast<int>(operation))];
}

void status(Engine& engine, OperationResult& result, std::string text) {
    engine.host.setstatus(text);
    engine.host.yield();
    result.statustext = std::move(text);
}

}  // namespace

std::string portfailedtext(std::string_view reason) {
    // The ports describe their failures as whole phrases ("the serial port was lost",
    // "writing to the serial port failed"), so the reason completes the sentence.
    if (reason.empty()) return "Operation failed: the serial port was lost.";
    return "Operation failed: " + std::string(reason) + ".";
}

std::string scripterrorstatus(const ScriptError& error) {
    return "Operation failed: script error in instruction " + std::to_string(error.instruction) +
           " ('" + error.text + "').";
}

std::string scripterrormessage(const ScriptError& error) {
    return "Script error in instruction " + std::to_string(error.instruction) + " ('" +
           error.text + "'): " + error.reason + ".\r\nThe operation was stopped.";
}

OperationResult runoperation(Engine& engine, Operation operation, const PortState& port) {
    OperationResult result;
    Host& host = engine.host;
    const OperationTexts& texts = textsof(operation);
    const bool checks = operation == Operation::BlankCheck || operation == Operation::Verify;

    if (!portusable(port, engine.port)) {
        result.status = OperationStatus::PortNotReady;
        result.statustext = porterrortext(port.portnumber);
        host.setstatus(result.statustext);
        return result;
    }

    const auto start = host.clock().now();
    if (checks) beginreport(engine.report);
    host.disable();
    status(engine, result, texts.start);
    if (operation == Operation::Read) {
        clearbuffer(engine.progbuffer, engine.activemodel);
        host.updatedisplay();
        host.yield();
    }

    const RunResult run = runalg(engine, stepsof(engine.activemodel, operation));
    if (run.outcome == RunOutcome::ProgramEnded) {
        // The host ends the program; nothing of the frame may run after that.
        result.status = OperationStatus::ProgramEnded;
        return result;
    }

    host.enable();
    if (checks) result.mismatchcount = engine.report.mismatchcount;

    if (run.outcome == RunOutcome::PortFailed || run.outcome == RunOutcome::ScriptError) {
        if (run.outcome == RunOutcome::PortFailed) {
            result.status = OperationStatus::PortFailed;
            result.porterror = run.porterror;
            status(engine, result, portfailedtext(run.porterror));
        } else {
            result.status = OperationStatus::ScriptError;
            result.error = run.error;
            status(engine, result, scripterrorstatus(run.error));
        }
        // Whatever Read All got before the stop is in the buffer: show it as it is.
        if (operation == Operation::Read) {
            host.updatedisplay();
            host.yield();
        }
        if (run.outcome == RunOutcome::ScriptError) {
            host.mymsgbox(scripterrormessage(run.error), kMsgError, "");
            host.yield();
        }
        return result;
    }

    engine.elapsedtext = elapsedtext(host.clock().now() - start);
    const std::string tail = engine.elapsedtext + " seconds elapsed...";
    if (checks && engine.report.mismatchcount > 0) {
        result.status = OperationStatus::Mismatches;
        status(engine, result, texts.failed + tail);
        host.mymsgbox(std::string(texts.heading) + "\r\n\r\n" + engine.report.mismatchreport,
                      kMsgError, "");
        host.yield();
        return result;
    }
    status(engine, result, texts.done + tail);
    if (operation == Operation::Read) {
        host.updatedisplay();
        host.yield();
    }
    return result;
}

OperationResult programall(Engine& engine, const PortState& port) {
    return runoperation(engine, Operation::Program, port);
}
OperationResult readall(Engine& engine, const PortState& port) {
    return runoperation(engine, Operation::Read, port);
}
OperationResult eraseall(Engine& engine, const PortState& port) {
    return runoperation(engine, Operation::Erase, port);
}
OperationResult blankcheck(Engine& engine, const PortState& port) {
    return runoperation(engine, Operation::BlankCheck, port);
}
OperationResult verifyall(Engine& engine, const PortState& port) {
    return runoperation(engine, Operation::Verify, port);
}

}  // namespace qm
