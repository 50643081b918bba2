#include "devices/configwords.h"

#include <algorithm>

#include "devices/configfields.h"
#include "text/hextext.h"

namespace qm {

namespace {

constexpr const char* kCrLf = "\r\n";

std::string padded(std::string text, size_t width) {
    if (text.size() < width) text.append(width - text.size(), ' ');
    return text;
}

// The words a model has: CONF1, and CONF2 when it uses it.
int wordcount(const ActiveModel& model) { return model.config2used ? 2 : 1; }

// "CP = ON (program memory code-protected)": a field as the word holds it.
std::string fieldsetting(const DecodedField& decoded) {
    return decoded.field->name + " = " + decoded.setting->name + " (" +
           decoded.setting->description + ")";
}

// What a setting's pitfall means, to follow "CP = ON (...)".
std::string pitfalltext(ConfigPitfall pitfall) {
    switch (pitfall) {
        case ConfigPitfall::kCodeProtect:
            return ": the program memory cannot be read back or verified once this word is "
                   "programmed (it reads as 0000h).";
        case ConfigPitfall::kDataProtect:
            return ": the data EEPROM cannot be read back or verified once this word is "
                   "programmed (it reads as 00h).";
        case ConfigPitfall::kWriteProtect:
            return ": the program cannot write that part of its program memory itself.";
        case ConfigPitfall::kLowVoltage:
            return ": the PGM pin must be held low in the circuit, or the chip may enter "
                   "programming mode instead of running.";
        case ConfigPitfall::kWatchdog:
            return ": the program must clear the watchdog (CLRWDT) in time, or the chip resets.";
        case ConfigPitfall::kNone:
            break;
    }
    return ".";
}

bool protects(ConfigPitfall pitfall) {
    return pitfall == ConfigPitfall::kCodeProtect || pitfall == ConfigPitfall::kDataProtect;
}

// The erased word, with what it means on the model; empty when the word is not the erased one.
std::string erasedparagraph(const ActiveModel& model, int index, int32_t word) {
    if (word != model.erasedconfig[size_t(index)]) return {};
    std::string text = "The configuration word " + configaddress(index) + " is " + hexwordh(word) +
                       ", the erased value, as a HEX file without a configuration word leaves "
                       "it. On the " +
                       model.modelname + " that means:";
    // One field a line, without columns: the box that shows it has no fixed font.
    for (const DecodedField& d : decodeconfig(model.configfields[size_t(index)], word)) {
        text += kCrLf + std::string("    ") +
                (d.setting != nullptr ? fieldsetting(d) : describefield(d));
    }
    return text;
}

}  // namespace

std::string configaddress(int index) { return index == 0 ? "2007h" : "2008h"; }

std::vector<int> describedwords(const ActiveModel& model) {
    std::vector<int> words;
    for (int i = 0; i < wordcount(model); ++i)
        if (!model.configfields[size_t(i)].empty()) words.push_back(i);
    return words;
}

std::vector<std::string> describeconfig(const ConfigFieldSet& fields, int32_t word) {
    const std::vector<DecodedField> decoded = decodeconfig(fields, word);
    size_t namewidth = 0;
    size_t settingwidth = 0;
    for (const DecodedField& d : decoded) {
        namewidth = std::max(namewidth, d.field->name.size());
        settingwidth = std::max(settingwidth, d.setting != nullptr ? d.setting->name.size() : 5);
    }
    std::vector<std::string> lines;
    for (const DecodedField& d : decoded) {
        const std::string setting = d.setting != nullptr ? d.setting->name : hexwordh(d.bits);
        const std::string what =
            d.setting != nullptr ? d.setting->description : "no setting has these bits";
        lines.push_back(padded(d.field->name, namewidth) + " = " + padded(setting, settingwidth) +
                        "   " + what);
    }
    return lines;
}

std::string nofieldsreason(const ActiveModel& model, const std::string& devicefile) {
    if (!describedwords(model).empty()) return {};
    return "The device file " + (devicefile.empty() ? "" : devicefile + " ") +
           "names no fields of the configuration words of the " + model.modelname + ".";
}

std::string configlisting(const ActiveModel& model) {
    std::string text;
    for (const int index : describedwords(model)) {
        text += "Configuration word " + configaddress(index) + " of the " + model.modelname +
                ", erased " + hexwordh(model.erasedconfig[size_t(index)]) + ":\n";
        for (const ConfigField& field : model.configfields[size_t(index)]) {
            const ConfigSetting* erased = erasedsetting(field);
            text += field.name + "  " + field.title + ", bits " + hexwordh(field.mask) +
                    ", erased: " + (erased != nullptr ? erased->name : "none") + "\n";
            size_t width = 0;
            for (const ConfigSetting& setting : field.settings)
                width = std::max(width, setting.name.size());
            for (const ConfigSetting& setting : field.settings) {
                text += "    " + hexwordh(setting.value) + "  " + padded(setting.name, width) +
                        "  " + setting.description + "\n";
            }
        }
    }
    return text;
}

std::vector<std::string> configpitfalls(const ActiveModel& model,
                                        const std::array<int32_t, 2>& words) {
    std::vector<std::string> paragraphs;
    for (const int index : describedwords(model)) {
        const int32_t word = words[size_t(index)];
        if (std::string erased = erasedparagraph(model, index, word); !erased.empty())
            paragraphs.push_back(std::move(erased));
        for (const DecodedField& d : decodeconfig(model.configfields[size_t(index)], word)) {
            if (d.setting == nullptr || d.setting->pitfall == ConfigPitfall::kNone) continue;
            paragraphs.push_back(fieldsetting(d) + pitfalltext(d.setting->pitfall));
        }
    }
    return paragraphs;
}

namespace {

void addprotecting(const ActiveModel& model, int index, int32_t word,
                   std::vector<std::string>& fields) {
    for (const DecodedField& d : decodeconfig(model.configfields[size_t(index)], word)) {
        if (d.setting != nullptr && protects(d.setting->pitfall)) fields.push_back(fieldsetting(d));
    }
}

std::string joined(const std::vector<std::string>& parts, const std::string& between) {
    std::string text;
    for (const std::string& part : parts) text += (text.empty() ? "" : between) + part;
    return text;
}

}  // namespace

std::vector<std::string> protectingfields(const ActiveModel& model,
                                          const std::array<int32_t, 2>& words) {
    std::vector<std::string> fields;
    for (const int index : describedwords(model))
        addprotecting(model, index, words[size_t(index)], fields);
    return fields;
}

std::string protectionnote(const ActiveModel& model, const std::array<int32_t, 2>& read,
                           bool allzero) {
    std::vector<std::string> words;
    for (const int index : describedwords(model)) {
        const int32_t word = read[size_t(index)];
        if (word < 0) continue;
        std::vector<std::string> fields;
        addprotecting(model, index, word, fields);
        if (fields.empty()) continue;
        words.push_back("The chip's configuration word " + configaddress(index) + " reads " +
                        hexwordh(word) + ": " + joined(fields, ", ") + ".");
    }
    if (!words.empty()) {
        return joined(words, kCrLf) + kCrLf +
               "A code-protected chip reads its protected memory as 0, so it cannot be read back "
               "or verified. Erase All removes the protection, with the program.";
    }
    if (allzero && canprotect(model)) {
        return "Every location that differs read 0, as the memory of a code-protected chip "
               "reads: the chip may be code-protected. Read All shows its configuration word; "
               "Erase All removes the protection, with the program.";
    }
    return {};
}

bool canprotect(const ActiveModel& model) {
    for (const int index : describedwords(model)) {
        for (const ConfigField& field : model.configfields[size_t(index)]) {
            for (const ConfigSetting& setting : field.settings)
                if (protects(setting.pitfall)) return true;
        }
    }
    return false;
}

}  // namespace qm
