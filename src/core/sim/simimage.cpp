#include "sim/simimage.h"

#include <filesystem>
#include <system_error>

#include "buffer/hexreader.h"
#include "buffer/hexwriter.h"
#include "buffer/progbuffer.h"
#include "buffer/safefile.h"
#include "sim/picchip.h"

namespace qm {

namespace {

// The buffer layout of the chip itself, whatever the device file says about the model.
ActiveModel imagemodel(const PicChip& chip) {
    ActiveModel model;
    model.flashsize = chip.family().flashsize;
    model.eepromsize = chip.family().eepromsize;
    model.erasedconfig = {kErasedWord, kErasedWord};
    model.config2used = chip.family().configmask[1] != 0;
    return model;
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

bool savechipimage(const PicChip& chip, const std::string& path, std::string& why) {
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
    const SafeWriteResult written = writefilesafely(path, hexfiletext(buffer, model.config2used));
    if (!written.ok) why = written.reason;
    return written.ok;
}

}  // namespace qm
