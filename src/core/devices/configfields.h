#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qm {

// Named configuration fields: a configuration word (CONF1 at 2007h, CONF2 at 2008h) seen as the
// datasheet's fields (FOSC, WDTE, CP ...), each with its named settings. The device file defines
// them per family ("configfield N: ...", "configsetting N: ..."); model activation checks them
// and puts the model's fields on ActiveModel::configfields. These functions decode a word into
// settings and encode chosen settings into a word; they never format for a window.

// What a setting does that a user may not have meant, and is warned of before Program All.
enum class ConfigPitfall : uint8_t {
    kNone,
    kCodeProtect,   // program memory code-protected: it reads back as 0
    kDataProtect,   // data EEPROM code-protected: it reads back as 0
    kWriteProtect,  // program memory the program itself may not write
    kLowVoltage,    // low-voltage programming: the PGM pin must be held low
    kWatchdog,      // the watchdog runs: the program must clear it
};

// One setting of a field: the field's bits for it, in place (only bits of the field's mask).
struct ConfigSetting {
    int32_t value = 0;
    std::string name;         // one word, as the datasheets name it: "INTOSCIO", "ON", "OFF"
    std::string description;  // a short description: "internal oscillator, RA6 and RA7 are I/O"
    bool erased = false;      // the setting an erased chip has; exactly one per field
    ConfigPitfall pitfall = ConfigPitfall::kNone;

    bool operator==(const ConfigSetting&) const = default;
};

// One field of a configuration word. A field may be split: FOSC of the 16F628A is bits 4, 1
// and 0, mask 0013h.
struct ConfigField {
    std::string name;   // as the datasheet writes it: "FOSC"
    int32_t mask = 0;   // the field's bits in the word
    std::string title;  // a few words saying what the field is: "oscillator"
    std::vector<ConfigSetting> settings;

    bool operator==(const ConfigField&) const = default;
};

// The fields of one configuration word, in the order the device file lists them.
using ConfigFieldSet = std::vector<ConfigField>;

// The numbers a field set may have in the device file.
inline constexpr int32_t kFirstFieldSet = 1;
inline constexpr int32_t kLastFieldSet = 99;

// A field as a word holds it: its bits and the setting they make, nullptr when no setting of
// the field has those bits.
struct DecodedField {
    const ConfigField* field = nullptr;
    int32_t bits = 0;  // word & field mask, in place
    const ConfigSetting* setting = nullptr;
};

// The setting whose bits a word holds in the field, nullptr when none has them.
const ConfigSetting* settingof(const ConfigField& field, int32_t word);

// The setting an erased chip has, nullptr when the field marks none.
const ConfigSetting* erasedsetting(const ConfigField& field);

// The field or setting of that name, compared without regard to case; nullptr when there is
// none.
const ConfigField* findfield(const ConfigFieldSet& fields, std::string_view name);
const ConfigSetting* findsetting(const ConfigField& field, std::string_view name);

// Every field of the set as `word` holds it, in the set's order.
std::vector<DecodedField> decodeconfig(const ConfigFieldSet& fields, int32_t word);

// `word` with the field's bits replaced by those of `value` (a setting's value, in place);
// every other bit is kept.
int32_t encodeconfig(int32_t word, const ConfigField& field, int32_t value);

// One plain line for a decoded field: "FOSC = INTOSCIO   internal oscillator, RA6 and RA7 are
// I/O", or, when no setting has its bits, "WRT = 0000h   no setting has these bits".
std::string describefield(const DecodedField& decoded);

// What is wrong with a field set, empty when nothing is: a field without settings or without
// exactly one erased setting, a setting with bits outside its field, a field that names a
// value twice, fields that overlap. The reason names the field.
std::string checkfieldset(const ConfigFieldSet& fields);

}  // namespace qm
