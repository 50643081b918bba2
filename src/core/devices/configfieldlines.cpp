#include "devices/configfieldlines.h"

#include <algorithm>
#include <vector>

#include "devices/configfields.h"
#include "text/asciicase.h"
#include "text/hextext.h"
#include "text/leadingnumber.h"

namespace qm {

namespace {

// The words of a text separated by blanks or tabs, and where each starts.
struct Words {
    std::vector<std::string_view> words;
    std::vector<size_t> starts;
};

Words splitwords(std::string_view text) {
    Words out;
    size_t pos = 0;
    while (true) {
        const size_t start = text.find_first_not_of(" \t", pos);
        if (start == std::string_view::npos) break;
        const size_t end = std::min(text.find_first_of(" \t", start), text.size());
        out.words.push_back(text.substr(start, end - start));
        out.starts.push_back(start);
        pos = end;
    }
    return out;
}

// Everything from word `first` to the end of the text, trailing blanks dropped.
std::string rest(std::string_view text, const Words& words, size_t first) {
    std::string_view tail = text.substr(words.starts[first]);
    while (!tail.empty() && (tail.back() == ' ' || tail.back() == '\t')) tail.remove_suffix(1);
    return std::string(tail);
}

// The set is being built here, so its fields and settings may be changed.
ConfigField* fieldnamed(ConfigFieldSet& set, std::string_view name) {
    return const_cast<ConfigField*>(findfield(set, name));
}

std::string addfield(ConfigFieldSet& set, int32_t number, std::string_view text) {
    const Words words = splitwords(text);
    if (words.words.size() < 3) return "ignored, a field needs a name, a mask and a title";
    const std::string_view name = words.words[0];
    const int32_t mask = parsewordanycase(words.words[1]);
    if (mask <= 0 || mask > 0x3FFF) {
        return "ignored, the mask \"" + std::string(words.words[1]) +
               "\" is not four hex digits from 0001 to 3FFF";
    }
    if (fieldnamed(set, name) != nullptr) {
        return "ignored, field set " + std::to_string(number) + " already has a field " +
               std::string(name);
    }
    set.push_back({std::string(name), mask, rest(text, words, 2), {}});
    return {};
}

std::string addsetting(ConfigFieldSet& set, int32_t number, std::string_view text) {
    const Words words = splitwords(text);
    if (words.words.size() < 4) {
        return "ignored, a setting needs a field name, a value, a setting name and a description";
    }
    ConfigField* field = fieldnamed(set, words.words[0]);
    if (field == nullptr) {
        return "ignored, field set " + std::to_string(number) + " has no field " +
               std::string(words.words[0]) + " before this line";
    }
    std::string_view valuetext = words.words[1];
    const bool erased = valuetext.ends_with('*');
    if (erased) valuetext.remove_suffix(1);
    const int32_t value = parsewordanycase(valuetext);
    if (value < 0 || value > 0x3FFF) {
        return "ignored, the value \"" + std::string(words.words[1]) +
               "\" is not four hex digits from 0000 to 3FFF (with '*' after the erased one)";
    }
    field->settings.push_back({value, std::string(words.words[2]), rest(text, words, 3), erased});
    return {};
}

ConfigPitfall pitfallnamed(std::string_view kind) {
    static const std::pair<std::string_view, ConfigPitfall> kKinds[] = {
        {"codeprotect", ConfigPitfall::kCodeProtect},
        {"dataprotect", ConfigPitfall::kDataProtect},
        {"writeprotect", ConfigPitfall::kWriteProtect},
        {"lowvoltage", ConfigPitfall::kLowVoltage},
        {"watchdog", ConfigPitfall::kWatchdog},
    };
    for (const auto& [name, pitfall] : kKinds)
        if (asciilower(kind) == name) return pitfall;
    return ConfigPitfall::kNone;
}

std::string addwarning(ConfigFieldSet& set, int32_t number, std::string_view text) {
    const Words words = splitwords(text);
    if (words.words.size() < 3) return "ignored, a warning needs a field name, a kind and settings";
    ConfigField* field = fieldnamed(set, words.words[0]);
    if (field == nullptr) {
        return "ignored, field set " + std::to_string(number) + " has no field " +
               std::string(words.words[0]) + " before this line";
    }
    const ConfigPitfall pitfall = pitfallnamed(words.words[1]);
    if (pitfall == ConfigPitfall::kNone) {
        return "ignored, \"" + std::string(words.words[1]) +
               "\" is not codeprotect, dataprotect, writeprotect, lowvoltage or watchdog";
    }
    std::vector<ConfigSetting*> named;
    for (size_t i = 2; i < words.words.size(); ++i) {
        auto* setting = const_cast<ConfigSetting*>(findsetting(*field, words.words[i]));
        if (setting == nullptr) {
            return "ignored, field " + field->name + " has no setting " +
                   std::string(words.words[i]) + " before this line";
        }
        named.push_back(setting);
    }
    for (ConfigSetting* setting : named) setting->pitfall = pitfall;
    return {};
}

}  // namespace

bool isconfigfieldkeyword(std::string_view word) {
    return word == kConfigFieldKeyword || word == kConfigSettingKeyword ||
           word == kConfigWarningKeyword;
}

std::string readconfigfieldline(DeviceTable& table, std::string_view keyword,
                                std::string_view afterspace, bool hascolon,
                                std::string_view aftercolon) {
    const int32_t number = leadingnumber(afterspace);
    if (number < kFirstFieldSet || number > kLastFieldSet) {
        return "ignored, field set number " + std::to_string(number) + " is outside " +
               std::to_string(kFirstFieldSet) + " to " + std::to_string(kLastFieldSet);
    }
    if (!hascolon) return "ignored, no colon after the field set number";
    ConfigFieldSet& set = table.configfieldsets[number];
    if (keyword == kConfigFieldKeyword) return addfield(set, number, aftercolon);
    if (keyword == kConfigSettingKeyword) return addsetting(set, number, aftercolon);
    return addwarning(set, number, aftercolon);
}

}  // namespace qm
