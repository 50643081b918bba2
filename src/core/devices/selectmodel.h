#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "devices/activemodel.h"
#include "devices/devicemodel.h"

namespace qm {

// Largest FLASH that fits the word address map: the ID locations start at 2000h.
inline constexpr int32_t kMaxFlashWords = 0x2000;
// Largest EEPROM whose bytes (word address 2100h + k) still have a 16-bit HEX file byte address.
inline constexpr int32_t kMaxEepromBytes = 0x8000 - 0x2100;

struct SelectModelResult {
    bool ok = false;
    std::string message;  // why the model was refused; empty on success
};

// Turns model number modelnumber of the table into activemodel. Every field except
// config2used and voltageorder is replaced; those two change only on a recognised word, so an
// unknown word keeps the previous model's value. A model number outside 1..count, or a model
// whose sizes the program buffer cannot hold, is refused and activemodel stays exactly as it was.
SelectModelResult selectmodel(const DeviceTable& table, int32_t modelnumber,
                              ActiveModel& activemodel);

// The two words of a text written like configerased: four hex digits, one separator character
// that is not looked at, four hex digits; any case. A word that is not four hex digits is -1.
std::array<int32_t, 2> parsewordpair(std::string_view text);

// Cuts an algorithm text into instructions: lower-cased, split at every comma, nothing trimmed,
// empty entries kept. An empty text gives one empty instruction.
std::vector<std::string> splitsteps(std::string_view algorithm);

struct StartupModel {
    int32_t modelnumber = 1;
    bool savedefault = false;  // the setting was unusable: "1" must be written back
};

// The model to activate at main window load from the saved "Microcontroller Model" text: the
// text's number when it lies in 1..modelcount, otherwise 1, to be saved back.
StartupModel startupmodelnumber(std::string_view setting, int32_t modelcount);

}  // namespace qm
