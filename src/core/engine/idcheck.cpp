#include "engine/idcheck.h"

#include "buffer/progbuffer.h"
#include "devices/optionalkeys.h"
#include "text/hextext.h"

namespace qm {

namespace {

// The two words a DATA IN line reads when no chip drives it: stuck low, or following DATA OUT
// (which the driver holds high through a read).
constexpr int32_t kDataInLow = 0x0000;
constexpr int32_t kDataInHigh = 0x3FFF;

IdCheck classify(const Engine& engine, int32_t word) {
    IdCheck check;
    check.word = word;
    const ActiveModel& active = engine.activemodel;
    int32_t revisionmask = active.deviceidmask;
    if (engine.devices != nullptr) {
        for (int n = 1; n <= engine.devices->modelcount(); ++n) {
            const devicemodel& model = engine.devices->models[size_t(n)];
            const ModelId id = modelid(model);
            if (!idmatches(id, word)) continue;
            if (check.models.empty()) revisionmask = id.mask;
            check.models.push_back(model.name);
        }
    }
    check.revision = word & ~revisionmask & 0x3FFF;
    if (word == kDataInLow || word == kDataInHigh) {
        check.identity = ChipIdentity::NoChip;
    } else if (active.deviceid < 0) {
        check.identity = ChipIdentity::Answered;
    } else if ((word & active.deviceidmask) == active.deviceid) {
        check.identity = ChipIdentity::Match;
    } else {
        check.identity = ChipIdentity::WrongChip;
    }
    return check;
}

// "16F877A", "16F636 or 16F639".
std::string names(const std::vector<std::string>& models) {
    std::string text;
    for (size_t i = 0; i < models.size(); ++i) {
        if (i > 0) text += i + 1 == models.size() ? " or " : ", ";
        text += models[i];
    }
    return text;
}

}  // namespace

bool hasdeviceid(const ActiveModel& model) {
    return model.deviceid >= 0 && !model.identifysteps.empty();
}

IdentifyRun identify(Engine& engine) {
    IdentifyRun result;
    const SideRun side = runbeside(engine, engine.activemodel.identifysteps, "identify");
    result.run = side.run;
    if (result.run.outcome != RunOutcome::Completed) return result;
    result.check = classify(engine, side.state.tempword & 0x3FFF);
    // Every transfer of the script ended with DATA OUT low, and the supply is off again.
    if (result.check.word == kDataInHigh) {
        engine.linedriver.flush();
        result.check.datainhigh = engine.linedriver.datain() == 1;
    }
    return result;
}

std::string idfailedstatus(const IdCheck& check, const Engine& engine) {
    const std::string& chosen = engine.activemodel.modelname;
    if (check.identity == ChipIdentity::NoChip) return "Operation failed: no chip found.";
    if (check.models.empty())
        return "Operation failed: the chip in the socket is not a " + chosen + " (device ID " +
               hexwordh(check.word) + ").";
    return "Operation failed: the chip in the socket is a " + names(check.models) + ", not a " +
           chosen + ".";
}

std::string idfailedmessage(const IdCheck& check, const Engine& engine, const std::string& tail) {
    const ActiveModel& active = engine.activemodel;
    const std::string read = "the device ID reads " + hexwordh(check.word);
    std::string text;
    if (check.identity == ChipIdentity::NoChip) {
        const char* const datain =
            check.word == kDataInLow
                ? "DATA IN stays low, as it does without an adapter or without its supply."
            : check.datainhigh
                ? "DATA IN stays high even while DATA OUT is low: something holds it high (check "
                  "the adapter's DATA IN line, pin 6 of the port, for a short)."
                : "DATA IN only follows DATA OUT, as it does with an empty socket.";
        text = "No chip found: " + read + ". " + datain +
               "\r\n\r\nCheck that the chip sits in the socket the right way round, that the "
               "adapter is plugged into the port in use and has its supply, and that the model "
               "chosen (" +
               active.modelname + ") is the chip's.";
    } else {
        const std::string which = check.models.empty()
                                      ? "which no model of the device file has"
                                      : "which is the " + names(check.models) + " (revision " +
                                            std::to_string(check.revision) + ")";
        text = "Wrong chip: " + read + ", " + which + ", but the model chosen is the " +
               active.modelname + " (device ID " + hexwordh(active.deviceid) + ").\r\n\r\n" +
               (check.models.empty()
                    ? "Check that the chip in the socket is a " + active.modelname + "."
                    : "Choose the model of the chip in the socket, or put a " + active.modelname +
                          " in.");
    }
    if (!tail.empty()) text += "\r\n\r\n" + tail;
    return text;
}

std::string identifiedtext(const IdCheck& check) {
    const std::string id = "Device ID " + hexwordh(check.word) + ": ";
    if (check.models.empty()) return id + "no model of the device file has this ID.";
    return id + names(check.models) + ", revision " + std::to_string(check.revision) + ".";
}

}  // namespace qm
