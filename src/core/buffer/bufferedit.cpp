#include "buffer/bufferedit.h"

#include <cctype>
#include <string>

#include "buffer/dumprows.h"
#include "text/hextext.h"

namespace qm {

int32_t viewlocation(int32_t firstrow, int32_t row, int32_t column, int32_t size) {
    if (row < 0 || row >= kViewRows || column < 0 || column >= kRowLocations) return -1;
    const int64_t index = (int64_t{firstrow} + row) * kRowLocations + column;
    if (index < 0 || index > int64_t{size} - 1) return -1;
    return static_cast<int32_t>(index);
}

std::optional<int32_t> editvalue(std::string_view typed, EditTarget target) {
    if (typed.empty()) return std::nullopt;
    std::string text = "000";
    for (char c : typed) text += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const int32_t value = parseword(std::string_view(text).substr(text.size() - 4));
    const int32_t limit = target == EditTarget::Eeprom ? kErasedByte : kErasedWord;
    if (value < 0 || value > limit) return std::nullopt;
    return value;
}

bool storeedit(ProgBuffer& progbuffer, EditTarget target, int32_t index, int32_t value) {
    switch (target) {
        case EditTarget::Flash:
            if (index < 0 || size_t(index) >= progbuffer.flash.size()) return false;
            progbuffer.flash[size_t(index)] = value;
            return true;
        case EditTarget::Eeprom:
            if (index < 0 || size_t(index) >= progbuffer.eeprom.size()) return false;
            progbuffer.eeprom[size_t(index)] = value;
            return true;
        case EditTarget::Config:
            if (index < 1 || index > 2) return false;
            progbuffer.conf[size_t(index - 1)] = value;
            return true;
    }
    return false;
}

}  // namespace qm
