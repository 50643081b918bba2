#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "devices/devicemodel.h"

namespace qm::cli {

// The model a --model value names: a number 1..count, or a model name compared without regard
// to case (the first model of that name when two share it), also with "PIC" in front of the
// name ("PIC16F690" for the model 16F690). 0 when it names none.
int32_t findmodel(const DeviceTable& table, std::string_view text);

// The `models` listing: a header line, then number, name, FLASH words and EEPROM bytes of every
// model, one per line ending in "\n". The sizes are read from the texts as activation reads them.
std::string modellisting(const DeviceTable& table);

}  // namespace qm::cli
