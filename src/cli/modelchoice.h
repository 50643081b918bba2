#pragma once

#include <string>

#include "devices/devicemodel.h"

namespace qm::cli {

// The `models` listing: a header line, then number, name, FLASH words and EEPROM bytes of every
// model, one per line ending in "\n". The sizes are read from the texts as activation reads them.
std::string modellisting(const DeviceTable& table);

}  // namespace qm::cli
