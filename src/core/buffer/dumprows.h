#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qm {

// Rows of the memory views and the scroll range that goes with them.
inline constexpr int32_t kRowLocations = 8;  // locations per row
inline constexpr int32_t kViewRows = 8;      // rows a view shows at once

// One row: 8 locations from index 8*row, "000010: 3FFF 3FFF ..." for FLASH and "0010: FF FF ..."
// for EEPROM. A row that runs past the end of the memory stops at its last location.
std::string flashrow(const std::vector<int32_t>& flash, size_t row);
std::string eepromrow(const std::vector<int32_t>& eeprom, size_t row);

enum class MemoryKind { Flash, Eeprom };

// The kViewRows rows a view shows with firstrow at the top. A row wholly past the end of the
// memory is empty text, so nothing outside the buffer is ever read; an empty memory shows no
// rows at all.
std::vector<std::string> viewrows(const std::vector<int32_t>& memory, MemoryKind kind,
                                  int32_t firstrow);

// The highest first row of a view over `size` locations: size/8 - 8 rounded half to even, 0 for
// an empty memory. Negative for memories of fewer than 64 locations.
int32_t viewscrollmax(int32_t size);

// The sizes line over the views: "FLASH: 1024,  EEPROM: 128".
std::string memorysizestext(int32_t flashsize, int32_t eepromsize);

}  // namespace qm
