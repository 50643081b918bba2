#include "sim/simimage.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <tuple>
#include <vector>

#include "buffer/hexreader.h"
#include "buffer/hexwriter.h"
#include "buffer/progbuffer.h"
#include "buffer/safefile.h"
#include "devices/selectmodel.h"
#include "sim/picchip.h"
#include "text/hextext.h"

namespace qm {

namespace {

// Stands in CONF2 of a chip without one until the image sets it.
constexpr int32_t kNoConfig2 = -1;

// The chip's calibration words in configuration space: their addresses.
std::vector<int32_t> calibrationaddresses(const PicChip& chip) {
    std::vector<int32_t> addresses;
    const ChipFamily& family = chip.family();
    for (int32_t i = 0; i < family.calibrationcount; ++i)
        addresses.push_back(family.calibrationbase + i);
    return addresses;
}

bool iscalibration(const PicChip& chip, int64_t address) {
    const std::vector<int32_t> addresses = calibrationaddresses(chip);
    return std::find(addresses.begin(), addresses.end(), address) != addresses.end();
}

// The image's words at the chip's calibration addresses, -1 where it holds none: read again into
// a buffer whose FLASH reaches into configuration space.
std::vector<int32_t> imagecalibration(const PicChip& chip, const std::string& path) {
    const std::vector<int32_t> addresses = calibrationaddresses(chip);
    std::vector<int32_t> words(addresses.size(), -1);
    if (addresses.empty()) return words;
    ActiveModel wide;
    wide.flashsize = addresses.back() + 1;
    ProgBuffer buffer;
    clearbuffer(buffer, wide);
    for (const int32_t address : addresses) buffer.flash[size_t(address)] = -1;
    int32_t loadedwords = 0;
    if (!readhexfile(path, buffer, wide, loadedwords).ok) return words;
    for (size_t i = 0; i < addresses.size(); ++i) words[i] = buffer.flash[size_t(addresses[i])];
    return words;
}

// One data record with the calibration words, which the buffer layout has no place for.
std::string calibrationrecord(const PicChip& chip) {
    const std::vector<int32_t> addresses = calibrationaddresses(chip);
    if (addresses.empty()) return {};
    std::string body =
        hexbyte(int32_t(2 * addresses.size())) + hexword(2 * addresses.front()) + "00";
    for (const int32_t address : addresses) body += hexwordle(chip.configword(address));
    return ":" + body + hexchecksum(body) + "\r\n";
}

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

// The known chips the image fits, the smallest first, and among those the parts of the chip's
// own family first: "16F873A or 16F874A"; empty for none. Names at most a few.
std::string chipsfor(const ImageNeeds& needs, FamilyKind kind) {
    constexpr size_t kMostNamed = 4;
    std::vector<ChipFamily> fitting;
    for (const std::string_view name : knownchipnames()) {
        ChipFamily family = chipfamilyformodel(name, 0, 0);
        if (family.flashsize >= needs.flashwords && family.eepromsize >= needs.eeprombytes &&
            (!needs.config2 || family.configmask[1] != 0))
            fitting.push_back(std::move(family));
    }
    if (needs.stray >= 0 || fitting.empty()) return {};
    const auto rank = [kind](const ChipFamily& f) {
        return std::tuple(f.kind != kind, f.flashsize, f.eepromsize);
    };
    const auto best = rank(*std::min_element(
        fitting.begin(), fitting.end(),
        [&rank](const ChipFamily& a, const ChipFamily& b) { return rank(a) < rank(b); }));
    std::string names;
    size_t named = 0;
    for (const ChipFamily& family : fitting) {
        if (rank(family) != best || named++ == kMostNamed) continue;
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
        parts.push_back("data at " + hexwhole(needs.stray) + "h" +
                        ", which is no location of a chip");
    std::string text = "It holds more than the simulated " + chip.name + " has: ";
    for (size_t i = 0; i < parts.size(); ++i) text += (i == 0 ? "" : ", ") + parts[i];
    const std::string fits = chipsfor(needs, chip.kind);
    text += fits.empty() ? "." : ". It seems to be made for the " + fits + ".";
    return text + "\r\nThe image was left as it is.";
}

}  // namespace

bool loadchipimage(PicChip& chip, const std::string& path, std::string& why) {
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        const std::filesystem::path folder = std::filesystem::absolute(path, error).parent_path();
        if (std::filesystem::is_directory(folder, error)) return true;
        why = "its folder " + folder.string() + " does not exist";
        return false;
    }

    const ActiveModel model = imagemodel(chip);
    ProgBuffer buffer;
    clearbuffer(buffer, model);
    int32_t loadedwords = 0;
    const HexReadResult read = readhexfile(path, buffer, model, loadedwords);
    if (!read.ok) {
        why = read.message ? read.message->text : "the file cannot be read";
        return false;
    }
    const bool strayconfig2 =
        !model.config2used && buffer.conf[1] != kNoConfig2 && !iscalibration(chip, kAddrConf2);
    HexReadResult beyond = read;
    std::erase_if(beyond.outofrange,
                  [&chip](int64_t address) { return iscalibration(chip, address); });
    if (!beyond.outofrange.empty() || strayconfig2) {
        why = toolargetext(needsbeyond(beyond, strayconfig2), chip.family());
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
    // An image without them (a chip new to calibration words) keeps the factory values.
    const std::vector<int32_t> addresses = calibrationaddresses(chip);
    const std::vector<int32_t> words = imagecalibration(chip, path);
    for (size_t i = 0; i < addresses.size(); ++i) {
        if (words[i] >= 0) chip.setconfigword(addresses[i], words[i]);
    }
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
    std::string text = hexfiletext(buffer, model.config2used);
    // Before the end-of-file record, which is the last line.
    const size_t eof = text.rfind(":00000001FF");
    text.insert(eof == std::string::npos ? text.size() : eof, calibrationrecord(chip));
    return text;
}

bool savechipimage(const std::string& path, const std::string& text, std::string& why) {
    const SafeWriteResult written = writefilesafely(path, text);
    if (!written.ok) why = written.reason;
    return written.ok;
}

}  // namespace qm
