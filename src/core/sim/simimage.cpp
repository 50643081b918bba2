#include "sim/simimage.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

#include "buffer/hexreader.h"
#include "buffer/hextext.h"
#include "buffer/hexwriter.h"
#include "buffer/progbuffer.h"
#include "buffer/safefile.h"
#include "devices/selectmodel.h"
#include "sim/picchip.h"

namespace qm {

namespace {

// Stands in CONF2 of a chip without one until the image sets it.
constexpr int32_t kNoConfig2 = -1;

// The buffer layout of the chip itself, whatever the device file says about the model.
ActiveModel imagemodel(const PicChip& chip) {
    ActiveModel model;
    model.flashsize = chip.family().flashsize;
    model.eepromsize = chip.family().eepromsize;
    model.config2used = chip.family().configmask[1] != 0;
    model.erasedconfig = {kErasedWord, model.config2used ? kErasedWord : kNoConfig2};
    return model;
}

// What an image needs of a chip: its FLASH words, EEPROM bytes and configuration words, and
// whether it holds anything at an address no chip has.
struct ImageNeeds {
    int32_t flashwords = 0;
    int32_t eeprombytes = 0;
    bool config2 = false;
    int64_t stray = -1;  // first word address that belongs to no memory, -1 for none
};

ImageNeeds needsbeyond(const HexReadResult& read, bool config2) {
    ImageNeeds needs;
    needs.config2 = config2;
    for (const int64_t w : read.outofrange) {
        if (w < kAddrIdFirst) {
            needs.flashwords = std::max(needs.flashwords, int32_t(w + 1));
        } else if (w >= kAddrEeprom && w < kAddrEeprom + kMaxEepromBytes) {
            needs.eeprombytes = std::max(needs.eeprombytes, int32_t(w - kAddrEeprom + 1));
        } else if (needs.stray < 0) {
            needs.stray = w;
        }
    }
    return needs;
}

// The known chips the image fits, the smallest first: "16F873A or 16F874A"; empty for none.
std::string chipsfor(const ImageNeeds& needs) {
    std::vector<ChipFamily> fitting;
    for (const std::string_view name : knownchipnames()) {
        ChipFamily family = chipfamilyformodel(name, 0, 0);
        if (family.flashsize >= needs.flashwords && family.eepromsize >= needs.eeprombytes &&
            (!needs.config2 || family.configmask[1] != 0))
            fitting.push_back(std::move(family));
    }
    if (needs.stray >= 0 || fitting.empty()) return {};
    const auto smaller = [](const ChipFamily& a, const ChipFamily& b) {
        return std::pair(a.flashsize, a.eepromsize) < std::pair(b.flashsize, b.eepromsize);
    };
    const ChipFamily& smallest = *std::min_element(fitting.begin(), fitting.end(), smaller);
    std::string names;
    for (const ChipFamily& family : fitting) {
        if (smaller(smallest, family)) continue;
        names += (names.empty() ? "" : " or ") + family.name;
    }
    return names;
}

std::string toolargetext(const ImageNeeds& needs, const ChipFamily& chip) {
    std::vector<std::string> parts;
    if (needs.flashwords > 0)
        parts.push_back("FLASH words up to " + hexwordh(needs.flashwords - 1) + " (the chip has " +
                        std::to_string(chip.flashsize) + ")");
    if (needs.eeprombytes > 0)
        parts.push_back("EEPROM bytes up to " + hexwordh(needs.eeprombytes - 1) +
                        " (the chip has " + std::to_string(chip.eepromsize) + ")");
    if (needs.config2) parts.push_back("a second configuration word (the chip has none)");
    if (needs.stray >= 0)
        parts.push_back("data at " + hexwordh(int32_t(needs.stray & 0xFFFF)) +
                        ", which is no location of a chip");
    std::string text = "It holds more than the simulated " + chip.name + " has: ";
    for (size_t i = 0; i < parts.size(); ++i) text += (i == 0 ? "" : ", ") + parts[i];
    const std::string fits = chipsfor(needs);
    text += fits.empty() ? "." : ". It seems to be made for the " + fits + ".";
    return text + "\r\nThe image was left as it is.";
}

}  // namespace

bool loadchipimage(PicChip& chip, const std::string& path, std::string& why) {
    std::error_code error;
    if (!std::filesystem::exists(path, error)) return true;

    const ActiveModel model = imagemodel(chip);
    ProgBuffer buffer;
    clearbuffer(buffer, model);
    int32_t loadedwords = 0;
    const HexReadResult read = readhexfile(path, buffer, model, loadedwords);
    if (!read.ok) {
        why = read.message ? read.message->text : "the file cannot be read";
        return false;
    }
    const bool strayconfig2 = !model.config2used && buffer.conf[1] != kNoConfig2;
    if (!read.outofrange.empty() || strayconfig2) {
        why = toolargetext(needsbeyond(read, strayconfig2), chip.family());
        return false;
    }
    for (size_t i = 0; i < buffer.flash.size(); ++i) {
        chip.setflashword(static_cast<int32_t>(i), buffer.flash[i]);
    }
    for (size_t i = 0; i < buffer.eeprom.size(); ++i) {
        chip.seteeprombyte(static_cast<int32_t>(i), buffer.eeprom[i]);
    }
    chip.setconfigword(kAddrConf1, buffer.conf[0]);
    if (model.config2used) chip.setconfigword(kAddrConf2, buffer.conf[1]);
    return true;
}

std::string chipimagetext(const PicChip& chip) {
    const ActiveModel model = imagemodel(chip);
    ProgBuffer buffer;
    clearbuffer(buffer, model);
    for (size_t i = 0; i < buffer.flash.size() && i < chip.flash().size(); ++i) {
        buffer.flash[i] = chip.flash()[i];
    }
    for (size_t i = 0; i < buffer.eeprom.size() && i < chip.eeprom().size(); ++i) {
        buffer.eeprom[i] = chip.eeprom()[i];
    }
    buffer.conf[0] = chip.configword(kAddrConf1);
    if (model.config2used) buffer.conf[1] = chip.configword(kAddrConf2);
    return hexfiletext(buffer, model.config2used);
}

bool savechipimage(const PicChip& chip, const std::string& path, std::string& why) {
    const SafeWriteResult written = writefilesafely(path, chipimagetext(chip));
    if (!written.ok) why = written.reason;
    return written.ok;
}

}  // namespace qm
