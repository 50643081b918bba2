#include "devices/configfields.h"

#include "text/asciicase.h"
#include "text/hextext.h"

namespace qm {

namespace {

bool samename(std::string_view a, std::string_view b) { return asciiupper(a) == asciiupper(b); }

std::string checkfield(const ConfigField& field) {
    const std::string named = "the field " + field.name;
    if (field.settings.empty()) return named + " has no setting.";
    int erased = 0;
    for (size_t i = 0; i < field.settings.size(); ++i) {
        const ConfigSetting& setting = field.settings[i];
        if ((setting.value & ~field.mask) != 0) {
            return named + " (mask " + hexwordh(field.mask) + ") has the setting " + setting.name +
                   " with bits outside it: " + hexwordh(setting.value) + ".";
        }
        for (size_t j = 0; j < i; ++j) {
            const ConfigSetting& earlier = field.settings[j];
            if (earlier.value == setting.value) {
                return named + " names the value " + hexwordh(setting.value) + " twice (" +
                       earlier.name + " and " + setting.name + ").";
            }
            if (samename(earlier.name, setting.name))
                return named + " has two settings named " + setting.name + ".";
        }
        if (setting.erased) ++erased;
    }
    if (erased != 1) {
        return named + " marks " + std::to_string(erased) +
               " erased settings with '*'; it needs exactly one.";
    }
    return {};
}

}  // namespace

const ConfigSetting* settingof(const ConfigField& field, int32_t word) {
    const int32_t bits = word & field.mask;
    for (const ConfigSetting& setting : field.settings)
        if (setting.value == bits) return &setting;
    return nullptr;
}

const ConfigSetting* erasedsetting(const ConfigField& field) {
    for (const ConfigSetting& setting : field.settings)
        if (setting.erased) return &setting;
    return nullptr;
}

const ConfigField* findfield(const ConfigFieldSet& fields, std::string_view name) {
    for (const ConfigField& field : fields)
        if (samename(field.name, name)) return &field;
    return nullptr;
}

const ConfigSetting* findsetting(const ConfigField& field, std::string_view name) {
    for (const ConfigSetting& setting : field.settings)
        if (samename(setting.name, name)) return &setting;
    return nullptr;
}

std::vector<DecodedField> decodeconfig(const ConfigFieldSet& fields, int32_t word) {
    std::vector<DecodedField> decoded;
    decoded.reserve(fields.size());
    for (const ConfigField& field : fields)
        decoded.push_back({&field, word & field.mask, settingof(field, word)});
    return decoded;
}

int32_t encodeconfig(int32_t word, const ConfigField& field, int32_t value) {
    return (word & ~field.mask) | (value & field.mask);
}

std::string describefield(const DecodedField& decoded) {
    if (decoded.field == nullptr) return {};
    const std::string head = decoded.field->name + " = ";
    if (decoded.setting == nullptr)
        return head + hexwordh(decoded.bits) + "   no setting has these bits";
    return head + decoded.setting->name + "   " + decoded.setting->description;
}

std::string checkfieldset(const ConfigFieldSet& fields) {
    int32_t used = 0;
    for (size_t i = 0; i < fields.size(); ++i) {
        const ConfigField& field = fields[i];
        if (std::string why = checkfield(field); !why.empty()) return why;
        if ((used & field.mask) != 0) {
            for (size_t j = 0; j < i; ++j) {
                if ((fields[j].mask & field.mask) != 0) {
                    return "the fields " + fields[j].name + " (" + hexwordh(fields[j].mask) +
                           ") and " + field.name + " (" + hexwordh(field.mask) + ") overlap.";
                }
            }
        }
        used |= field.mask;
    }
    return {};
}

}  // namespace qm
