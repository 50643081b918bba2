#include "devices/optionalkeys.h"

#include <algorithm>

#include "buffer/hextext.h"
#include "devices/selectmodel.h"
#include "text/asciicase.h"

namespace qm {

namespace {

const std::string* optionaltext(const devicemodel& model, const char* name) {
    const auto found = model.optional.find(name);
    return found == model.optional.end() ? nullptr : &found->second;
}

std::string quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

// Like the words of configerased, a value is its first four characters, so "0E20h" or a note
// after the digits still reads.
int32_t leadingword(std::string_view text) {
    return parseword(asciiupper(text.substr(0, std::min<size_t>(text.size(), 4))));
}

bool readsaword(const std::vector<std::string>& steps) {
    return std::any_of(steps.begin(), steps.end(),
                       [](const std::string& step) { return step.starts_with("temp=s"); });
}

}  // namespace

std::string optionalname(std::string_view key) {
    if (!key.empty() && key.back() == ':') key.remove_suffix(1);
    return std::string(key);
}

ModelId modelid(const devicemodel& model) {
    ModelId result;
    if (const std::string* text = optionaltext(model, "deviceidmask")) {
        result.mask = leadingword(*text);
        if (result.mask < 0) {
            result.problem = "the device ID mask " + quoted(*text) + " is not four hex digits.";
        } else if (result.mask == 0) {
            result.problem = "the device ID mask 0000h leaves no bit to compare.";
        }
    }
    if (const std::string* text = optionaltext(model, "deviceid"); text && result.problem.empty()) {
        result.id = leadingword(*text);
        if (result.id < 0) {
            result.problem = "the device ID " + quoted(*text) + " is not four hex digits.";
        } else if ((result.id & ~result.mask) != 0) {
            result.problem = "the device ID " + hexwordh(result.id) +
                             " has bits outside its mask " + hexwordh(result.mask) + ".";
        }
    }
    if (!result.problem.empty()) result.id = -1;
    return result;
}

bool idmatches(const ModelId& model, int32_t word) {
    return model.id >= 0 && (word & model.mask) == model.id;
}

std::string convertoptionalkeys(const devicemodel& model, ActiveModel& converted) {
    const ModelId id = modelid(model);
    if (!id.problem.empty()) return id.problem;
    converted.deviceid = id.id;
    converted.deviceidmask = id.mask;

    converted.configmask = {0x3FFF, 0x3FFF};
    if (const std::string* text = optionaltext(model, "configmask")) {
        converted.configmask = parsewordpair(*text);
        if (converted.configmask[0] < 0 || converted.configmask[1] < 0) {
            return "the configuration mask " + quoted(*text) +
                   " is not two words of four hex digits (as in 21FF,3FFF).";
        }
    }

    converted.identifysteps.clear();
    const std::string* identify = optionaltext(model, "identifyalg");
    if (identify != nullptr && !identify->empty()) {
        converted.identifysteps = splitsteps(*identify);
        if (!readsaword(converted.identifysteps)) {
            return "its identify script has no \"temp=s\" instruction to read the device ID.";
        }
    }
    if (converted.deviceid >= 0 && converted.identifysteps.empty()) {
        return "it has a device ID but no identify script (identifyalg) to read it.";
    }
    return {};
}

}  // namespace qm
