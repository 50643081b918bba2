#include "devices/modelconfigfields.h"

#include "text/hextext.h"
#include "text/leadingnumber.h"

namespace qm {

namespace {

struct FieldKey {
    const char* name;  // the key without its colon
    const char* word;  // the configuration word it describes
};
constexpr FieldKey kFieldKeys[2] = {{"configfields", "CONF1"}, {"config2fields", "CONF2"}};

std::string convertword(const DeviceTable& table, const devicemodel& model, size_t index,
                        ActiveModel& converted) {
    const FieldKey& key = kFieldKeys[index];
    const auto found = model.optional.find(key.name);
    if (found == model.optional.end()) return {};
    const std::string& text = found->second;
    const int32_t number = leadingnumber(text);
    if (number < kFirstFieldSet || number > kLastFieldSet) {
        return "its " + std::string(key.name) + " key \"" + text +
               "\" is not a field set number from " + std::to_string(kFirstFieldSet) + " to " +
               std::to_string(kLastFieldSet) + ".";
    }
    const std::string named = "field set " + std::to_string(number) + " (" + key.name + ")";
    if (index == 1 && !converted.config2used) {
        return "it names " + named +
               " but has no second configuration word (config2used is not "
               "true).";
    }
    const auto set = table.configfieldsets.find(number);
    if (set == table.configfieldsets.end() || set->second.empty())
        return "it names " + named + ", which the device file does not define.";
    if (const std::string why = checkfieldset(set->second); !why.empty())
        return "in its " + named + " " + why;
    const int32_t mask = converted.configmask[index];
    for (const ConfigField& field : set->second) {
        if ((field.mask & ~mask) != 0) {
            return "in its " + named + " the field " + field.name + " (" + hexwordh(field.mask) +
                   ") has bits outside the " + key.word + " mask " + hexwordh(mask) + ".";
        }
    }
    converted.configfields[index] = set->second;
    return {};
}

}  // namespace

std::string convertconfigfields(const DeviceTable& table, const devicemodel& model,
                                ActiveModel& converted) {
    converted.configfields = {};
    for (size_t index = 0; index < 2; ++index) {
        if (std::string why = convertword(table, model, index, converted); !why.empty()) return why;
    }
    return {};
}

}  // namespace qm
