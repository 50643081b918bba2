#include "devices/selectmodel.h"

#include "devices/modelconfigfields.h"
#include "devices/optionalkeys.h"
#include "text/asciicase.h"
#include "text/hextext.h"
#include "text/leadingnumber.h"

namespace qm {

namespace {

// Characters from 1-based position first, at most count of them; empty past the end.
std::string_view mid(std::string_view text, size_t first, size_t count) {
    if (first - 1 >= text.size()) return {};
    return text.substr(first - 1, count);
}

std::string quoted(std::string_view text) { return "\"" + std::string(text) + "\""; }

std::string refusal(const devicemodel& model, const std::string& why) {
    return "Model " + quoted(model.name) + " cannot be used: " + why;
}

// Empty when the converted sizes can be held by the program buffer, else the reason.
std::string checksizes(const devicemodel& model, const ActiveModel& converted) {
    const std::string flash = "the FLASH size " + quoted(model.flash) + " gives " +
                              std::to_string(converted.flashsize) + " words";
    if (converted.flashsize < 1) return refusal(model, flash + ", at least 1 is needed.");
    if (converted.flashsize > kMaxFlashWords) {
        return refusal(model, flash + ", at most " + std::to_string(kMaxFlashWords) + " fit.");
    }
    const std::string eeprom = "the EEPROM size " + quoted(model.eeprom) + " gives " +
                               std::to_string(converted.eepromsize) + " bytes";
    if (converted.eepromsize < 0) return refusal(model, eeprom + ", which is negative.");
    if (converted.eepromsize > kMaxEepromBytes) {
        return refusal(model, eeprom + ", at most " + std::to_string(kMaxEepromBytes) + " fit.");
    }
    return {};
}

}  // namespace

std::array<int32_t, 2> parsewordpair(std::string_view text) {
    // The fifth character separates the two words and is never looked at.
    const std::string upper = asciiupper(text);
    return {parseword(mid(upper, 1, 4)), parseword(mid(upper, 6, 4))};
}

std::vector<std::string> splitsteps(std::string_view algorithm) {
    std::string text = asciilower(algorithm);
    if (text.empty() || text.back() != ',') text += ',';

    std::vector<std::string> steps;
    size_t start = 0;
    while (start < text.size()) {
        const size_t comma = text.find(',', start);  // always found: the text ends in one
        steps.push_back(text.substr(start, comma - start));
        start = comma + 1;
    }
    return steps;
}

SelectModelResult selectmodel(const DeviceTable& table, int32_t modelnumber,
                              ActiveModel& activemodel) {
    SelectModelResult result;
    if (modelnumber < 1 || modelnumber > table.modelcount()) {
        const int32_t count = table.modelcount();
        result.message = "Model number " + std::to_string(modelnumber) +
                         " is not in the device file, which lists " + std::to_string(count) +
                         (count == 1 ? " model." : " models.");
        return result;
    }
    const devicemodel& model = table.models[static_cast<size_t>(modelnumber)];

    // Converted into a copy so a refused model leaves the active one untouched; the copy also
    // carries the previous config2used and voltageorder for unrecognised words.
    ActiveModel converted = activemodel;
    converted.modelname = model.name;
    converted.flashsize = leadingnumber(model.flash);
    converted.eepromsize = leadingnumber(model.eeprom);

    converted.erasedconfig = parsewordpair(model.configerased);

    const std::string config2used = asciilower(model.config2used);
    if (config2used == "false") converted.config2used = false;
    if (config2used == "true") converted.config2used = true;

    const std::string voltageseq = asciilower(model.voltageseq);
    if (voltageseq == "vddvpp") converted.voltageorder = 1;
    if (voltageseq == "vppvdd") converted.voltageorder = 2;

    converted.progtime = leadingnumber(model.progtime);
    converted.pagesize = leadingnumber(model.pagesize);

    for (int op = 0; op < kOperationCount; ++op) converted.steps[op] = splitsteps(model.alg[op]);

    result.message = checksizes(model, converted);
    if (!result.message.empty()) return result;
    if (const std::string why = convertoptionalkeys(model, converted); !why.empty()) {
        result.message = refusal(model, why);
        return result;
    }
    if (const std::string why = convertconfigfields(table, model, converted); !why.empty()) {
        result.message = refusal(model, why);
        return result;
    }

    converted.modelnumber = modelnumber;
    activemodel = std::move(converted);
    result.ok = true;
    return result;
}

StartupModel startupmodelnumber(std::string_view setting, int32_t modelcount) {
    const int32_t number = leadingnumber(setting);
    if (number < 1 || number > modelcount) return {1, true};
    return {number, false};
}

}  // namespace qm
