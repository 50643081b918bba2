#include "buffer/progbuffer.h"

#include <algorithm>

namespace qm {

void clearbuffer(ProgBuffer& progbuffer, const ActiveModel& activemodel) {
    // Activation refuses models below one FLASH word; the guard keeps the buffer usable anyway.
    const auto flashwords = static_cast<size_t>(std::max(activemodel.flashsize, 1));
    const auto eeprombytes = static_cast<size_t>(std::max(activemodel.eepromsize, 0));
    progbuffer.flash.assign(flashwords, kErasedWord);
    progbuffer.eeprom.assign(eeprombytes, kErasedByte);
    progbuffer.conf = activemodel.erasedconfig;
}

}  // namespace qm
