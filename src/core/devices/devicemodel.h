#pragma once

#include <array>
#include <map>
#include <string>
#include <vector>

#include "devices/configfields.h"

namespace qm {

// The five chip operations, in the order the device file and the model fields list them.
enum class Operation { Erase = 0, Program = 1, Read = 2, BlankCheck = 3, Verify = 4 };
inline constexpr int kOperationCount = 5;

// One model of the device description file, as texts exactly as written after the key.
struct devicemodel {
    std::string name;
    std::string flash;
    std::string eeprom;
    std::string configerased;
    std::string config2used;
    std::string voltageseq;
    std::string progtime;
    std::string pagesize;
    // Copies of the algorithm definition texts, indexed by Operation.
    std::array<std::string, kOperationCount> alg;
    // The keys beyond these (optionalkeys.h), by name without the colon ("deviceid"); a script
    // key ("identifyalg") holds a copy of the definition's text, as alg does.
    std::map<std::string, std::string> optional;

    bool operator==(const devicemodel&) const = default;
};

// Slots per operation in the algorithm definition tables: numbers 0 to 20.
inline constexpr int kAlgSlots = 21;

// What loaddevices reads: five tables of numbered algorithm definitions and the model table.
struct DeviceTable {
    // algdefs[operation][number], number 0..20.
    std::array<std::array<std::string, kAlgSlots>, kOperationCount> algdefs;
    // The numbered definitions of the optional script kinds, by keyword ("identifyalgdef").
    std::map<std::string, std::array<std::string, kAlgSlots>> optionaldefs;
    // The configuration field sets, by number (kFirstFieldSet..kLastFieldSet): the fields of
    // "configfield N:" lines with the settings of "configsetting N:" lines, in file order.
    std::map<int32_t, ConfigFieldSet> configfieldsets;
    // models[0] is slot 0, which belongs to no model: key lines before the first "model:" land
    // there. Models are numbered 1..modelcount().
    std::vector<devicemodel> models{1};

    int modelcount() const { return static_cast<int>(models.size()) - 1; }

    bool operator==(const DeviceTable&) const = default;
};

}  // namespace qm
