#include "buffer/hexreader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "buffer/hextext.h"

namespace qm {

namespace {

constexpr char kFaultHeader[] = "Input program file in Intel Hex Format contains errors.";
constexpr size_t kMinRecordChars = 11;  // ":LLAAAATTCC"
constexpr int64_t kUpperAddressWords = 0x8000;
constexpr size_t kWarningListAll = 24;
constexpr size_t kWarningListHead = 16;
constexpr size_t kWarningListTail = 8;

// Replaces every non-overlapping "\n\n" by "\n", scanning left to right.
std::string halvelineends(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        out.push_back(text[i]);
        if (text[i] == '\n' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    }
    return out;
}

// The file's lines by number: element 0 is the empty line in front, the file's first line is 1.
// Any mix of CR and LF ends lines, and each run of k line-end characters counts as ceil(k/4)
// line ends, which is what makes the line numbers in messages come out as users expect them.
std::vector<std::string> numberedlines(std::string_view text) {
    std::string lf(text);
    for (char& c : lf) {
        if (c == '\r') c = '\n';
    }
    lf = halvelineends(halvelineends(lf));
    std::vector<std::string> lines{std::string()};
    size_t start = 0;
    for (size_t i = 0; i <= lf.size(); ++i) {
        if (i == lf.size() || lf[i] == '\n') {
            lines.emplace_back(lf.substr(start, i - start));
            start = i + 1;
        }
    }
    return lines;
}

class Reader {
public:
    Reader(ProgBuffer& progbuffer, const ActiveModel& activemodel, int32_t& loadedwords)
        : buffer_(progbuffer), model_(activemodel), loadedwords_(loadedwords) {}

    HexReadResult read(std::string_view text) {
        HexReadResult result;
        const std::vector<std::string> lines = numberedlines(text);
        for (size_t number = 1; number < lines.size(); ++number) {
            const Step step = readline(lines[number]);
            if (step == Step::End) break;
            if (fault_ != HexFault::None) {
                result.fault = fault_;
                result.faultline = static_cast<int>(number);
                result.message = HexMessage{std::string(kFaultHeader) + "\r\nLine number " +
                                                std::to_string(number) + hexfaulttext(fault_),
                                            kMsgError, ""};
                return result;
            }
        }
        result.ok = true;
        result.outofrange = std::move(outofrange_);
        if (!result.outofrange.empty()) {
            result.message = HexMessage{outofrangewarning(result.outofrange), kMsgInfo, ""};
        }
        return result;
    }

private:
    enum class Step { Next, End };

    Step fail(HexFault fault) {
        fault_ = fault;
        return Step::Next;
    }

    Step readline(std::string line) {
        while (!line.empty() && line.back() == ' ') line.pop_back();
        if (line.empty() || line.front() == ';') return Step::Next;
        if (line.front() != ':') return fail(HexFault::NoColon);
        if (line.size() < kMinRecordChars) return fail(HexFault::TooShort);

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
            if (!place(first + j, parseword(swapped))) return fail(HexFault::DataValue);
        }
        return Step::Next;
    }

    // Stores one word by its word address; false when the value does not fit where it lands.
    bool place(int64_t w, int32_t value) {
        if (w >= 0 && w < static_cast<int64_t>(buffer_.flash.size()) && w < model_.flashsize) {
            if (value < 0 || value > kErasedWord) return false;
            buffer_.flash[static_cast<size_t>(w)] = value;
            loadedwords_ = std::max(loadedwords_, static_cast<int32_t>(w + 1));
            return true;
        }
        if ((w >= kAddrIdFirst && w <= kAddrIdLast) || w == kAddrDeviceId) return value >= 0;
        if (w == kAddrConf1 || w == kAddrConf2) {
            if (value < 0) return false;
            buffer_.conf[static_cast<size_t>(w - kAddrConf1)] = value & kErasedWord;
            return true;
        }
        const int64_t e = w - kAddrEeprom;
        if (e >= 0 && e < static_cast<int64_t>(buffer_.eeprom.size()) && e < model_.eepromsize) {
            if (value < 0) return false;
            buffer_.eeprom[static_cast<size_t>(e)] = value & kErasedByte;
            return true;
        }
        outofrange_.push_back(w);
        return true;
    }

    ProgBuffer& buffer_;
    const ActiveModel& model_;
    int32_t& loadedwords_;
    int64_t upperaddress_ = 0;
    std::vector<int64_t> outofrange_;
    HexFault fault_ = HexFault::None;
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
        list += hexword(static_cast<int32_t>(addresses[i] & 0xFFFF)) + ", ";
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
    HexReadResult failed;
    failed.fault = HexFault::Unreadable;

    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    std::string reason;
    if (ec && status.type() == std::filesystem::file_type::none) {
        // The lookup itself failed (no access to a folder, a symbolic link loop): the name may
        // well exist, so say what went wrong instead of calling it missing.
        reason = "The file cannot be opened: " + ec.message() + ".";
    } else if (!std::filesystem::exists(status)) {
        reason = "The file does not exist.";
    } else if (std::filesystem::is_directory(status)) {
        reason = "The name belongs to a folder, not a file.";
    } else if (!std::filesystem::is_regular_file(status)) {
        // Devices and pipes could block or never end.
        reason = "The name does not belong to an ordinary file.";
    }
    if (reason.empty()) {
        errno = 0;
        std::ifstream in(path, std::ios::binary);
        if (!in) {
            const int err = errno;
            reason = "The file cannot be opened";
            reason += err != 0 ? std::string(": ") + std::strerror(err) + "." : ".";
        } else {
            std::string bytes;
            char chunk[65536];
            while (in.read(chunk, sizeof chunk) || in.gcount() > 0) {
                bytes.append(chunk, static_cast<size_t>(in.gcount()));
            }
            if (!in.bad() && in.eof()) {
                return readhextext(bytes, progbuffer, activemodel, loadedwords);
            }
            reason = "The file cannot be read.";
        }
    }
    failed.message = HexMessage{unreadablemessage(path, reason), kMsgError, ""};
    return failed;
}

}  // namespace qm
