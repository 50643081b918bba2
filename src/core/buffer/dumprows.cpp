#include "buffer/dumprows.h"

#include <cmath>

#include "text/hextext.h"

namespace qm {

std::string flashrow(const std::vector<int32_t>& flash, size_t row) {
    const size_t first = row * kRowLocations;
    std::string text = hexaddr(static_cast<int32_t>(first)) + ":";
    for (size_t i = first; i < first + kRowLocations && i < flash.size(); ++i) {
        text += " " + hexword(flash[i]);
    }
    return text;
}

std::string eepromrow(const std::vector<int32_t>& eeprom, size_t row) {
    const size_t first = row * kRowLocations;
    std::string text = hexword(static_cast<int32_t>(first)) + ":";
    for (size_t i = first; i < first + kRowLocations && i < eeprom.size(); ++i) {
        text += " " + hexbyte(eeprom[i]);
    }
    return text;
}

std::vector<std::string> viewrows(const std::vector<int32_t>& memory, MemoryKind kind,
                                  int32_t firstrow) {
    std::vector<std::string> rows;
    if (memory.empty()) return rows;
    for (int32_t r = firstrow; r < firstrow + kViewRows; ++r) {
        if (r < 0 || static_cast<size_t>(r) * kRowLocations >= memory.size()) {
            rows.emplace_back();
            continue;
        }
        rows.push_back(kind == MemoryKind::Flash ? flashrow(memory, size_t(r))
                                                 : eepromrow(memory, size_t(r)));
    }
    return rows;
}

int32_t viewscrollmax(int32_t size) {
    if (size <= 0) return 0;
    return static_cast<int32_t>(std::nearbyint(size / 8.0)) - kViewRows;
}

std::string memorysizestext(int32_t flashsize, int32_t eepromsize) {
    return "FLASH: " + std::to_string(flashsize) + ",  EEPROM: " + std::to_string(eepromsize);
}

}  // namespace qm
