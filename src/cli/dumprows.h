#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "buffer/dumprows.h"
#include "buffer/progbuffer.h"
#include "devices/activemodel.h"

namespace qm::cli {

// The rows worth printing: from row 0 up to the row that holds the last location that is not
// erased, and at least row 0 of a memory that is not empty.
size_t flashrowcount(const std::vector<int32_t>& flash);
size_t eepromrowcount(const std::vector<int32_t>& eeprom);

// The buffer as the main window shows it: model and sizes, FLASH rows, the configuration words
// (the second one only when the model uses it) and EEPROM rows. Lines end in "\n".
std::string bufferlisting(const ProgBuffer& progbuffer, const ActiveModel& activemodel);

// The configuration words, "Config. Word (2007h): 3F30", each followed by its named fields, one
// indented line each, when the model names them.
std::string configwordlines(const ProgBuffer& progbuffer, const ActiveModel& activemodel);

}  // namespace qm::cli
