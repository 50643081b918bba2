#include "cli/dumprows.h"

#include <algorithm>

#include "devices/configwords.h"
#include "text/hextext.h"

namespace qm::cli {

namespace {

size_t rowcount(const std::vector<int32_t>& memory, int32_t erased) {
    if (memory.empty()) return 0;
    size_t last = 0;  // one past the last location that is not erased
    for (size_t i = memory.size(); i > 0; --i) {
        if (memory[i - 1] != erased) {
            last = i;
            break;
        }
    }
    return std::max<size_t>(1, (last + kRowLocations - 1) / kRowLocations);
}

}  // namespace

size_t flashrowcount(const std::vector<int32_t>& flash) { return rowcount(flash, kErasedWord); }

size_t eepromrowcount(const std::vector<int32_t>& eeprom) { return rowcount(eeprom, kErasedByte); }

std::string bufferlisting(const ProgBuffer& progbuffer, const ActiveModel& activemodel) {
    std::string text = "Microcontroller Model: " + activemodel.modelname + "\n";
    text += memorysizestext(activemodel.flashsize, activemodel.eepromsize) + "\n";
    text += "FLASH Memory\n";
    for (size_t row = 0; row < flashrowcount(progbuffer.flash); ++row) {
        text += flashrow(progbuffer.flash, row) + "\n";
    }
    text += configwordlines(progbuffer, activemodel);
    if (!progbuffer.eeprom.empty()) {
        text += "EEPROM Memory\n";
        for (size_t row = 0; row < eepromrowcount(progbuffer.eeprom); ++row) {
            text += eepromrow(progbuffer.eeprom, row) + "\n";
        }
    }
    return text;
}

std::string configwordlines(const ProgBuffer& progbuffer, const ActiveModel& activemodel) {
    std::string text;
    for (int index = 0; index < (activemodel.config2used ? 2 : 1); ++index) {
        const int32_t word = progbuffer.conf[size_t(index)];
        text += "Config. Word (" + configaddress(index) + "): " + hexword(word) + "\n";
        for (const std::string& line :
             describeconfig(activemodel.configfields[size_t(index)], word)) {
            text += "  " + line + "\n";
        }
    }
    return text;
}

}  // namespace qm::cli
