#include "buffer/hexreader.h"

#include <algorithm>

#include "files/wholefile.h"
#include "text/asciicase.h"
#include "text/hextext.h"

namespace qm {

namespace {

constexpr char kFaultHeader[] = "Input program file in Intel Hex Format contains errors.";
constexpr size_t kMinRecordChars = 11;  // ":LLAAAATTCC"
constexpr int64_t kUpperAddressWords = 0x8000;
constexpr size_t kWarningListAll = 24;
constexpr size_t kWarningListHead = 16;
constexpr size_t kWarningListTail = 8;
// Editors that save as UTF-8 put it in front of the first record.
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool islineend(char c) { return c == '\r' || c == '\n'; }

// Calls visit(line, number) for the file's lines in order until it returns false, without
// copying the text. Any mix of CR and LF ends lines, and each run of k line-end characters
// counts as ceil(k/4) line ends (the empty lines in between are only counted), which is what
// makes the line numbers in messages come out as users expect them. The first line is 1.
template <typename Visit>
void numberedlines(std::string_view text, Visit visit) {
    size_t number = 1;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = pos;
        while (end < text.size() && !islineend(text[end])) ++end;
        if (!visit(text.substr(pos, end - pos), number)) return;
        size_t run = 0;
        while (end + run < text.size() && islineend(text[end + run])) ++run;
        number += (run + 3) / 4;
        pos = end + run;
    }
}

class Reader {
  public:
    Reader(ProgBuffer& progbuffer, const ActiveModel& activemodel, int32_t& loadedwords)
        : buffer_(progbuffer), model_(activemodel), loadedwords_(loadedwords) {}

    HexReadResult read(std::string_view text) {
        HexReadResult result;
        if (text.starts_with(kByteOrderMark)) text.remove_prefix(kByteOrderMark.size());
        numberedlines(text, [&](std::string_view line, size_t number) {
            if (readline(line) == Step::End) {
                result.endrecord = true;
                return false;
            }
            if (fault_ == HexFault::None) return true;
            result.fault = fault_;
            result.faultline = static_cast<int>(number);
            result.message = HexMessage{std::string(kFaultHeader) + "\r\nLine number " +
                                            std::to_string(number) + faulttext_,
                                        kMsgError, ""};
            return false;
        });
        if (result.fault != HexFault::None) return result;
        result.ok = true;
        result.placedwords = placedwords_;
        result.idlocations = idlocations_;
        result.outofrange = std::move(outofrange_);
        if (!result.outofrange.empty()) {
            result.message = HexMessage{outofrangewarning(result.outofrange), kMsgInfo, ""};
        }
        return result;
    }

  private:
    enum class Step { Next, End };

    Step fail(HexFault fault, std::string text = {}) {
        fault_ = fault;
        faulttext_ = text.empty() ? hexfaulttext(fault) : std::move(text);
        return Step::Next;
    }

    Step readline(std::string_view text) {
        while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
        if (text.empty() || text.front() == ';') return Step::Next;
        if (text.front() != ':') return fail(HexFault::NoColon);
        if (text.size() < kMinRecordChars) return fail(HexFault::TooShort);
        // Hex digits in either case; every other character stays as invalid as it was.
        const std::string line = asciiupper(text);

        const std::string_view record = std::string_view(line).substr(1);
        const std::string_view body = record.substr(0, record.size() - 2);
        if (record.substr(record.size() - 2) != hexchecksum(body)) {
            return fail(HexFault::Checksum);
        }
        const std::string_view bytecount = body.substr(0, 2);
        const std::string_view address = body.substr(2, 4);
        const std::string_view data = body.substr(8);

        switch (parsebyte(body.substr(6, 2))) {
            case 0x00:
                return datarecord(bytecount, address, data);
            case 0x01:
                return Step::End;
            case 0x04:
                // The byte count is deliberately not compared with the data here.
                if (data.size() != 4 || address != "0000" || parseword(data) < 0) {
                    return fail(HexFault::BadType04);
                }
                upperaddress_ = parseword(data);
                return Step::Next;
            case 0x05:
                return Step::Next;
            default:
                return fail(HexFault::RecordType);
        }
    }

    Step datarecord(std::string_view bytecountfield, std::string_view addressfield,
                    std::string_view data) {
        if (data.empty()) return Step::Next;
        const int32_t bytecount = parsebyte(bytecountfield);
        if (bytecount < 0) return fail(HexFault::ByteCountField);
        const int32_t address = parseword(addressfield);
        if (address < 0) return fail(HexFault::AddressField);
        if (bytecount % 2 != 0) return fail(HexFault::OddByteCount);
        if (address % 2 != 0) return fail(HexFault::OddAddress);
        if (data.size() != 2 * static_cast<size_t>(bytecount)) return fail(HexFault::DataLength);

        // 64-bit: the top upper address plus a long record's offset does not fit 32 bits.
        const int64_t first = address / 2 + upperaddress_ * kUpperAddressWords;
        for (int32_t j = 0; j < bytecount / 2; ++j) {
            const std::string_view digits = data.substr(4 * static_cast<size_t>(j), 4);
            std::string swapped(digits.substr(2, 2));
            swapped += digits.substr(0, 2);
            const int32_t value = parseword(swapped);
            switch (place(first + j, value)) {
                case HexFault::None:
                    break;
                case HexFault::WordTooWide:
                    return fail(HexFault::WordTooWide,
                                ": Word address " + hexwordh(static_cast<int32_t>(first + j)) +
                                    " holds " + hexwordh(value) +
                                    ", which a 14-bit word cannot hold (a file for another chip "
                                    "family?).");
                default:
                    return fail(HexFault::DataValue);
            }
        }
        return Step::Next;
    }

    // Stores one word by its word address; the fault when the value does not fit where it lands.
    HexFault place(int64_t w, int32_t value) {
        // Digits that are no hex count wherever the word lands, unless it lands outside.
        const HexFault digits = value < 0 ? HexFault::DataValue : HexFault::None;
        if (w >= 0 && w < static_cast<int64_t>(buffer_.flash.size()) && w < model_.flashsize) {
            if (digits != HexFault::None) return digits;
            if (value > kErasedWord) return HexFault::WordTooWide;
            buffer_.flash[static_cast<size_t>(w)] = value;
            loadedwords_ = std::max(loadedwords_, static_cast<int32_t>(w + 1));
            ++placedwords_;
            return HexFault::None;
        }
        // The ID locations, the two words after them that dumps of a whole chip carry, and the
        // device ID have no place in the buffer. Only the ID locations are the user's own data,
        // so only their loss is worth a word in the load report.
        if (w >= kAddrIdFirst && w <= kAddrDeviceId) {
            idlocations_ = idlocations_ || w <= kAddrIdLast;
            return digits;
        }
        if (w == kAddrConf1 || w == kAddrConf2) {
            if (digits != HexFault::None) return digits;
            buffer_.conf[static_cast<size_t>(w - kAddrConf1)] = value & kErasedWord;
            ++placedwords_;
            return HexFault::None;
        }
        const int64_t e = w - kAddrEeprom;
        if (e >= 0 && e < static_cast<int64_t>(buffer_.eeprom.size()) && e < model_.eepromsize) {
            if (digits != HexFault::None) return digits;
            buffer_.eeprom[static_cast<size_t>(e)] = value & kErasedByte;
            ++placedwords_;
            return HexFault::None;
        }
        outofrange_.push_back(w);
        return HexFault::None;
    }

    ProgBuffer& buffer_;
    const ActiveModel& model_;
    int32_t& loadedwords_;
    int64_t upperaddress_ = 0;
    std::vector<int64_t> outofrange_;
    int64_t placedwords_ = 0;
    bool idlocations_ = false;
    HexFault fault_ = HexFault::None;
    std::string faulttext_;
};

std::string unreadablemessage(const std::string& path, const std::string& reason) {
    return "Cannot read the HEX file " + path + "\r\n" + reason;
}

}  // namespace

std::string hexfaulttext(HexFault fault) {
    switch (fault) {
        case HexFault::NoColon:
            return ": The record does not begin with ':' simbol.";
        case HexFault::TooShort:
            return ": The record is too short.";
        case HexFault::Checksum:
            return ": Invalid 'checksum' field in the record.";
        case HexFault::RecordType:
            return ": Invalid 'record type' field in the record.";
        case HexFault::BadType04:
            return ": Invalid '04 type' record.";
        case HexFault::ByteCountField:
            return ": Invalid 'number of bytes' field in the record.";
        case HexFault::AddressField:
            return ": Invalid 'address' field in the record.";
        case HexFault::OddByteCount:
            return ": Field 'number of bytes' in the record must contain an even value.";
        case HexFault::OddAddress:
            return ": Field 'address' in the record must contain an even value.";
        case HexFault::DataLength:
            return ": The record does not contain the specified number of bytes.";
        case HexFault::DataValue:
            return ": Invalid data byte in the record.";
        case HexFault::None:
        case HexFault::Unreadable:
        case HexFault::WordTooWide:
            break;
    }
    return "";
}

std::string outofrangewarning(const std::vector<int64_t>& addresses) {
    std::string list;
    const size_t count = addresses.size();
    for (size_t i = 0; i < count; ++i) {
        if (count > kWarningListAll && i == kWarningListHead) {
            list += "..., ";
            i = count - kWarningListTail;
        }
        list += hexwhole(addresses[i]) + ", ";
    }
    if (list.size() >= 2) list.replace(list.size() - 2, 2, ".");
    return "Warning!\r\n" + std::string(kFaultHeader) + "\r\nThere are data for " +
           std::to_string(count) + " addresses out of range:\r\n" + list + "\r\n";
}

HexReadResult readhextext(std::string_view text, ProgBuffer& progbuffer,
                          const ActiveModel& activemodel, int32_t& loadedwords) {
    return Reader(progbuffer, activemodel, loadedwords).read(text);
}

HexReadResult readhexfile(const std::string& path, ProgBuffer& progbuffer,
                          const ActiveModel& activemodel, int32_t& loadedwords) {
    const WholeFile file = readwholefile(path, kMaxHexFileBytes);
    if (file.fault == WholeFileFault::None)
        return readhextext(file.bytes, progbuffer, activemodel, loadedwords);
    HexReadResult failed;
    failed.fault = HexFault::Unreadable;
    failed.message = HexMessage{unreadablemessage(path, file.reason), kMsgError, ""};
    return failed;
}

}  // namespace qm
