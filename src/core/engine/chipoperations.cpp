#include "engine/chipoperations.h"

#include <algorithm>
#include <chrono>
#include <utility>

#include "buffer/progbuffer.h"
#include "devices/configwords.h"
#include "engine/calibration.h"
#include "engine/elapsedtext.h"
#include "engine/interpreter.h"
#include "engine/mismatchreport.h"
#include "text/asciicase.h"

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
        case Operation::Erase:
            return kErase;
        case Operation::Program:
            return kProgram;
        case Operation::Read:
            return kRead;
        case Operation::BlankCheck:
            return kBlank;
        case Operation::Verify:
            break;
    }
    return kVerify;
}

bool chipchanges(Operation operation) {
    return operation == Operation::Program || operation == Operation::Erase;
}

bool checkschip(Operation operation) {
    return operation == Operation::BlankCheck || operation == Operation::Verify;
}

const std::vector<std::string>& stepsof(const ActiveModel& model, Operation operation) {
    return model.steps[size_t(static_cast<int>(operation))];
}

void status(Engine& engine, OperationResult& result, std::string text) {
    engine.host.setstatus(text);
    engine.host.yield();
    result.statustext = std::move(text);
}

// Step 1 of every operation: nothing happens on a port that is not ready.
bool portrefused(Engine& engine, const PortState& port, OperationResult& result) {
    if (portusable(port, engine.port)) return false;
    result.status = OperationStatus::PortNotReady;
    result.statustext = porterrortext(port);
    engine.host.setstatus(result.statustext);
    return true;
}

// The end of a run that did not complete: a lost port or a script error. `redisplay`: the run
// was Read All's, whose buffer holds what it got before the stop. `atrisk`: the calibration
// words Program All or Erase All read before they stopped, which the chip may have lost.
OperationResult& runfailed(Engine& engine, OperationResult& result, const RunResult& run,
                           bool redisplay, const std::vector<int32_t>& atrisk = {}) {
    Host& host = engine.host;
    if (run.outcome == RunOutcome::ProgramEnded) {
        // The host ends the program; nothing of the frame may run after that.
        result.status = OperationStatus::ProgramEnded;
        return result;
    }
    host.enable();
    if (run.outcome == RunOutcome::PortFailed) {
        result.status = OperationStatus::PortFailed;
        result.porterror = run.porterror;
        status(engine, result, portfailedtext(run.porterror));
    } else {
        result.status = OperationStatus::ScriptError;
        result.error = run.error;
        status(engine, result, scripterrorstatus(run.error));
    }
    if (redisplay) {
        host.updatedisplay();
        host.yield();
    }
    if (run.outcome == RunOutcome::ScriptError) {
        host.mymsgbox(scripterrormessage(run.error), kMsgError, "");
        host.yield();
    }
    if (!atrisk.empty()) {
        host.mymsgbox("The operation stopped after the chip's calibration was read: " +
                          calibrationlist(engine.activemodel, atrisk) +
                          ".\r\nIf the chip was erased, it has lost these values: note them and "
                          "program them back with the chip's program.",
                      kMsgError, "");
        host.yield();
    }
    return result;
}

// Stops Program All or Erase All before the erase: a calibration word lacks its form.
OperationResult& calibrationrefused(Engine& engine, OperationResult& result, int bad) {
    const CalibrationWord& word = engine.activemodel.calibration[size_t(bad)];
    const std::string why = badformtext(word, result.calibration[size_t(bad)]);
    engine.host.enable();
    result.status = OperationStatus::CalibrationRefused;
    status(engine, result, "Operation failed: " + why + ".");
    engine.host.mymsgbox(firstupper(why) +
                             ": the chip's factory calibration seems lost already, or the chip "
                             "is not a " +
                             engine.activemodel.modelname +
                             ".\r\n\r\nNothing was erased or written.",
                         kMsgError, "");
    engine.host.yield();
    return result;
}

// Fails Program All or Erase All whose calibration read back differs from the one kept.
OperationResult& calibrationlost(Engine& engine, OperationResult& result,
                                 const std::vector<int32_t>& after, bool outsidebuffer) {
    const ActiveModel& model = engine.activemodel;
    const int changed = changedcalibration(model, result.calibration, after, outsidebuffer);
    const CalibrationWord& word = model.calibration[size_t(changed)];
    const std::string what =
        changedtext(word, result.calibration[size_t(changed)], after[size_t(changed)]);
    engine.host.enable();
    result.status = OperationStatus::CalibrationLost;
    status(engine, result, "Operation failed: the calibration was not kept: " + what + ".");
    engine.host.mymsgbox(
        "The calibration read after the operation differs from the one read "
        "before it: " +
            what + ".\r\n\r\nThe calibration read before: " +
            calibrationlist(model, result.calibration) + ". Write it back before the chip is used.",
        kMsgError, "");
    engine.host.yield();
    return result;
}

// The operation's own script. With calibration kept, Program All programs the buffer with the
// kept words in their places (an image: the buffer stays the file's), and Blank Check and Verify
// expect the kept words at their locations.
RunResult runscript(Engine& engine, Operation operation, const std::vector<int32_t>& kept) {
    const std::vector<std::string>& steps = stepsof(engine.activemodel, operation);
    if (kept.empty()) return runalg(engine, steps);
    if (operation == Operation::Program) {
        ProgBuffer image = engine.progbuffer;
        mergecalibration(image, engine.activemodel, kept);
        return runalg(engine, steps, {ScriptLanguage::Original, &image, {}});
    }
    return runalg(
        engine, steps,
        {ScriptLanguage::Original, nullptr, checkschip(operation) ? kept : std::vector<int32_t>{}});
}

// Stops an operation that the device ID check refuses, before anything reached the chip.
OperationResult& chiprefused(Engine& engine, OperationResult& result, const std::string& tail) {
    engine.host.enable();
    result.status = result.idcheck.identity == ChipIdentity::NoChip ? OperationStatus::NoChip
                                                                    : OperationStatus::WrongChip;
    status(engine, result, idfailedstatus(result.idcheck, engine));
    engine.host.mymsgbox(idfailedmessage(result.idcheck, engine, tail), kMsgError, "");
    engine.host.yield();
    return result;
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
    return "Script error in instruction " + std::to_string(error.instruction) + " ('" + error.text +
           "'): " + error.reason + ".\r\nThe operation was stopped.";
}

namespace {

// One operation on its way, phase by phase; each phase says whether the operation goes on.
struct OperationRun {
    Engine& engine;
    Operation operation;
    OperationResult& result;
    std::chrono::microseconds start{};
    // The device ID says the socket is empty or holds another chip.
    bool chipinquestion = false;

    bool changeschip() const { return chipchanges(operation); }
    bool checks() const { return checkschip(operation); }
    // The calibration words read at the start that Program All or Erase All may have lost.
    const std::vector<int32_t>& atrisk() const {
        static const std::vector<int32_t> kNone;
        return changeschip() ? result.calibration : kNone;
    }
};

// The commands disabled, the start text, a new mismatch report for the checks.
void beginoperation(OperationRun& run) {
    Host& host = run.engine.host;
    run.start = host.clock().now();
    if (run.checks()) beginreport(run.engine.report);
    host.disable();
    status(run.engine, run.result, textsof(run.operation).start);
}

// The device ID: no chip or another one stops Program All and Erase All before anything reached
// the chip; the reading operations show it as a warning and go on.
bool identifyphase(OperationRun& run) {
    Engine& engine = run.engine;
    const IdentifyRun id = identify(engine);
    if (id.run.outcome != RunOutcome::Completed) {
        runfailed(engine, run.result, id.run, false);
        return false;
    }
    run.result.idcheck = id.check;
    const ChipIdentity identity = id.check.identity;
    run.chipinquestion = identity == ChipIdentity::NoChip || identity == ChipIdentity::WrongChip;
    if (!run.chipinquestion) return true;
    if (run.changeschip()) {
        chiprefused(engine, run.result, "Nothing was erased or written.");
        return false;
    }
    engine.host.mymsgbox(
        idfailedmessage(id.check, engine,
                        "Reading does not change the chip, so the operation goes on."),
        kMsgInfo, "");
    engine.host.yield();
    return true;
}

// The calibration words, read and shown; a word without its form stops Program All and Erase
// All before the erase.
bool readcalibrationphase(OperationRun& run) {
    Engine& engine = run.engine;
    const CalibrationRead read = readcalibration(engine);
    if (read.run.outcome != RunOutcome::Completed) {
        runfailed(engine, run.result, read.run, false);
        return false;
    }
    run.result.calibration = read.words;
    status(engine, run.result,
           std::string(run.changeschip() ? "Keeping the calibration: " : "Calibration read: ") +
               calibrationlist(engine.activemodel, read.words) + ".");
    if (!run.changeschip()) return true;
    const int bad = badcalibrationform(engine.activemodel, read.words);
    if (bad < 0) return true;
    calibrationrefused(engine, run.result, bad);
    return false;
}

// The operation's own script; Read All starts from an erased buffer, and whatever it got before
// a stop is shown as it is.
bool scriptphase(OperationRun& run) {
    Engine& engine = run.engine;
    if (run.operation == Operation::Read) {
        clearbuffer(engine.progbuffer, engine.activemodel);
        engine.host.updatedisplay();
        engine.host.yield();
    }
    const RunResult script = runscript(engine, run.operation, run.result.calibration);
    if (script.outcome == RunOutcome::Completed) return true;
    runfailed(engine, run.result, script, run.operation == Operation::Read, run.atrisk());
    return false;
}

// Program All has programmed the kept words its image holds; the others are written back here,
// and all of them read again: a word that changed fails the operation.
bool writebackphase(OperationRun& run) {
    Engine& engine = run.engine;
    const ActiveModel& model = engine.activemodel;
    const std::vector<int32_t>& kept = run.result.calibration;
    const bool program = run.operation == Operation::Program;
    const bool allinimage =
        program &&
        std::all_of(model.calibration.begin(), model.calibration.end(),
                    [&model](const CalibrationWord& word) { return heldbybuffer(model, word); });
    if (allinimage) return true;
    if (!model.calwritesteps.empty()) {
        const RunResult written = writecalibration(engine, kept);
        if (written.outcome != RunOutcome::Completed) {
            runfailed(engine, run.result, written, false, kept);
            return false;
        }
    }
    const CalibrationRead again = readcalibration(engine);
    if (again.run.outcome != RunOutcome::Completed) {
        runfailed(engine, run.result, again.run, false, kept);
        return false;
    }
    if (changedcalibration(model, kept, again.words, program) < 0) return true;
    calibrationlost(engine, run.result, again.words, program);
    return false;
}

// The outcome and the elapsed time; the mismatch report of the checks; Read All's buffer shown.
void reportphase(OperationRun& run) {
    Engine& engine = run.engine;
    Host& host = engine.host;
    const OperationTexts& texts = textsof(run.operation);
    host.enable();
    if (run.checks()) run.result.mismatchcount = engine.report.mismatchcount;
    engine.elapsedtext = elapsedtext(host.clock().now() - run.start);
    const std::string tail = engine.elapsedtext + " seconds elapsed...";
    const MismatchReport& report = engine.report;
    if (run.checks() && report.mismatchcount > 0) {
        run.result.status = OperationStatus::Mismatches;
        status(engine, run.result, texts.failed + tail);
        std::string text = std::string(texts.heading) + "\r\n\r\n" + report.mismatchreport;
        const std::string note = protectionnote(engine.activemodel, report.configread,
                                                report.zeroreads == report.mismatchcount);
        if (!note.empty()) text += "\r\n" + note;
        host.mymsgbox(text, kMsgError, "");
        host.yield();
        return;
    }
    status(engine, run.result, texts.done + tail);
    if (run.operation == Operation::Read) {
        host.updatedisplay();
        host.yield();
        // What a protected chip gives is not its program: said where the words read show it.
        const std::string note = protectionnote(engine.activemodel, engine.progbuffer.conf, false);
        if (!note.empty()) {
            host.mymsgbox(note, kMsgInfo, "");
            host.yield();
        }
    }
}

}  // namespace

OperationResult runoperation(Engine& engine, Operation operation, const PortState& port,
                             const OperationChoices& choices) {
    OperationResult result;
    if (portrefused(engine, port, result)) return result;
    OperationRun run{engine, operation, result};
    beginoperation(run);
    const ActiveModel& model = engine.activemodel;
    if (choices.idcheck && hasdeviceid(model) && !identifyphase(run)) return result;
    // A chip that is not the model's has no calibration of the model's to keep or show.
    const bool calibration =
        choices.keepcalibration && keepscalibration(model) && !run.chipinquestion;
    if (calibration && !readcalibrationphase(run)) return result;
    if (!scriptphase(run)) return result;
    if (!run.atrisk().empty() && !writebackphase(run)) return result;
    reportphase(run);
    return result;
}

OperationResult identifychip(Engine& engine, const PortState& port) {
    OperationResult result;
    if (portrefused(engine, port, result)) return result;
    if (engine.activemodel.identifysteps.empty()) {
        result.status = OperationStatus::NoIdentifyScript;
        result.statustext = "Operation failed: the model " + engine.activemodel.modelname +
                            " has no identify script.";
        engine.host.setstatus(result.statustext);
        return result;
    }
    engine.host.disable();
    status(engine, result, "Begin identify.");
    const IdentifyRun id = identify(engine);
    if (id.run.outcome != RunOutcome::Completed) return runfailed(engine, result, id.run, false);
    result.idcheck = id.check;
    if (id.check.identity == ChipIdentity::NoChip) return chiprefused(engine, result, "");
    engine.host.enable();
    status(engine, result, identifiedtext(id.check));
    return result;
}

OperationResult programall(Engine& engine, const PortState& port, const OperationChoices& choices) {
    return runoperation(engine, Operation::Program, port, choices);
}
OperationResult readall(Engine& engine, const PortState& port, const OperationChoices& choices) {
    return runoperation(engine, Operation::Read, port, choices);
}
OperationResult eraseall(Engine& engine, const PortState& port, const OperationChoices& choices) {
    return runoperation(engine, Operation::Erase, port, choices);
}
OperationResult blankcheck(Engine& engine, const PortState& port, const OperationChoices& choices) {
    return runoperation(engine, Operation::BlankCheck, port, choices);
}
OperationResult verifyall(Engine& engine, const PortState& port, const OperationChoices& choices) {
    return runoperation(engine, Operation::Verify, port, choices);
}

OperationResult verifyprogrammed(Engine& engine, const PortState& port,
                                 const OperationResult& programmed, OperationChoices choices) {
    if (programmed.status != OperationStatus::Done) return verifyall(engine, port, choices);
    choices.idcheck = false;
    OperationResult result = verifyall(engine, port, choices);
    result.idcheck = programmed.idcheck;
    return result;
}

}  // namespace qm
