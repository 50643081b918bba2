#include "buffer/hexwriter.h"

#include <cstdint>
#include <filesystem>
#include <vector>

#include "buffer/safefile.h"
#include "text/hextext.h"

namespace qm {

namespace {

constexpr size_t kRecordDigits = 32;  // 16 bytes
constexpr int64_t kConfigByteAddress = 2 * kAddrConf1;
constexpr int64_t kEepromByteAddress = 2 * kAddrEeprom;

std::string record(const std::string& body) { return ":" + body + hexchecksum(body) + "\r\n"; }

// Up to and including the last element that differs from the erased value; nothing when all
// are erased.
std::string regiondigits(const std::vector<int32_t>& values, int32_t erased) {
    size_t end = values.size();
    while (end > 0 && values[end - 1] == erased) --end;
    std::string digits;
    digits.reserve(4 * end);
    for (size_t i = 0; i < end; ++i) digits += hexwordle(values[i]);
    return digits;
}

class RecordWriter {
  public:
    // Cuts a region into 16-byte records and a shorter last one. Addresses past FFFFh only occur
    // for FLASH beyond 32K words; they get an extended address record instead of wrapping onto
    // low addresses.
    void region(const std::string& digits, int64_t base) {
        for (size_t k = 0; k * kRecordDigits < digits.size(); ++k) {
            const std::string piece = digits.substr(k * kRecordDigits, kRecordDigits);
            const int64_t address = base + 16 * static_cast<int64_t>(k);
            upper(address >> 16);
            text_ += record(hexbyte(static_cast<int32_t>(piece.size() / 2)) +
                            hexword(static_cast<int32_t>(address & 0xFFFF)) + "00" + piece);
        }
    }

    void upper(int64_t value) {
        if (value == upper_) return;
        upper_ = value;
        text_ += record("02000004" + hexword(static_cast<int32_t>(value)));
    }

    void raw(const std::string& body) { text_ += record(body); }
    std::string take() { return std::move(text_); }

  private:
    std::string text_;
    int64_t upper_ = 0;
};

}  // namespace

std::string hexfiletext(const ProgBuffer& progbuffer, bool config2used) {
    RecordWriter out;
    out.region(regiondigits(progbuffer.flash, kErasedWord), 0);

    std::string config = hexwordle(progbuffer.conf[0]);
    if (config2used) config += hexwordle(progbuffer.conf[1]);
    out.region(config, kConfigByteAddress);

    // Each EEPROM byte takes a whole word slot, its high byte 00.
    out.region(regiondigits(progbuffer.eeprom, kErasedByte), kEepromByteAddress);
    out.raw("00000001");
    return out.take();
}

HexSaveResult savehexfile(Host& host, const ProgBuffer& progbuffer, const ActiveModel& activemodel,
                          const std::string& path) {
    HexSaveResult result;
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    // A folder cannot be replaced by a file; asking first would only promise what cannot happen.
    if (std::filesystem::exists(status) && !std::filesystem::is_directory(status)) {
        if (host.mymsgbox("Do you want to overwrite file " + path + "?", kMsgYesNo, "") ==
            kAnswerNo) {
            result.outcome = HexSaveOutcome::Declined;
            return result;
        }
    }

    host.disable();
    const SafeWriteResult written =
        writefilesafely(path, hexfiletext(progbuffer, activemodel.config2used));
    host.enable();
    if (written.ok) {
        result.outcome = HexSaveOutcome::Saved;
        result.labelhex = path;
        host.setstatus(kStatusSaved);
        return result;
    }
    result.reason = written.reason;
    host.setstatus(kStatusNotSaved);
    host.mymsgbox("Cannot save the HEX file " + path + "\r\n" + written.reason +
                      "\r\nThe buffer was not saved; an existing file of that name is unchanged.",
                  kMsgError, "");
    return result;
}

}  // namespace qm
