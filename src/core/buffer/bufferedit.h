#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "buffer/progbuffer.h"

namespace qm {

// What the main window's edit box writes to: a FLASH word, an EEPROM byte, or a configuration
// word (index 1 for CONF1, 2 for CONF2).
enum class EditTarget { Flash = 1, Eeprom = 2, Config = 3 };

// The buffer index under value column `column` of view row `row` (both counted from 0) while the
// view shows firstrow at the top; -1 when the click is off the values (a column or row outside
// 0..7) or the location lies past the end of a memory of `size` locations.
int32_t viewlocation(int32_t firstrow, int32_t row, int32_t column, int32_t size);

// The value typed into the edit box: upper-cased, "000" put in front, the last four characters
// read as hex. Empty when the text is empty, not hex, or out of the target's range (3FFFh for
// words, FFh for EEPROM bytes).
std::optional<int32_t> editvalue(std::string_view typed, EditTarget target);

// Stores an edited value. False, with nothing changed, when the index lies outside the buffer's
// current size (the model may have changed since the box was opened).
bool storeedit(ProgBuffer& progbuffer, EditTarget target, int32_t index, int32_t value);

}  // namespace qm
