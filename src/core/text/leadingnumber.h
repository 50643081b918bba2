#pragma once

#include <cstdint>
#include <string_view>

namespace qm {

// The number rule used wherever a text becomes a whole number (device file sizes, definition
// numbers, prompt answers): leading blanks are skipped, an optional sign and the decimal number at
// the start are taken, the rest of the text is ignored. A fraction goes to the nearest whole
// number, halves to the even neighbour (2.5 -> 2, 3.5 -> 4). Text that does not start with a number
// gives 0. Values beyond the 32-bit range are clamped to it.
int32_t leadingnumber(std::string_view text);

}  // namespace qm
