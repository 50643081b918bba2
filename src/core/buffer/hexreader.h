#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "buffer/hexmessage.h"
#include "buffer/progbuffer.h"
#include "devices/activemodel.h"

namespace qm {

// The faults a record can have, numbered in the order they are checked.
enum class HexFault {
    None = 0,
    NoColon = 1,
    TooShort = 2,
    Checksum = 3,
    RecordType = 4,
    BadType04 = 5,
    ByteCountField = 6,
    AddressField = 7,
    OddByteCount = 8,
    OddAddress = 9,
    DataLength = 10,
    DataValue = 11,
    // The file itself could not be opened or read; there is no line to name.
    Unreadable = 12,
    // A FLASH word above 3FFFh, met where DataValue is checked: a file for a wider core.
    WordTooWide = 13,
};

// What one read of a HEX file came to. `ok` is what readhexfile answers: true also when data
// outside the chip were met (then `message` holds the warning), false after a fault (then
// `message` holds the fault message).
struct HexReadResult {
    bool ok = false;
    HexFault fault = HexFault::None;
    int faultline = 0;  // line number of the fault, counted as the messages count it
    // Word addresses of data that fell outside the chip, in file order, repeats kept.
    std::vector<int64_t> outofrange;
    std::optional<HexMessage> message;
    // Words stored in the buffer (FLASH, configuration, EEPROM), repeats counted.
    int64_t placedwords = 0;
    // Whether reading ended at an end-of-file record rather than at the end of the text.
    bool endrecord = false;
    // Whether the file held data at the ID locations, which the buffer has no place for.
    bool idlocations = false;
};

// Reads a whole HEX text into the buffer. Writes progbuffer and raises loadedwords to the
// highest FLASH index written plus one; the caller clears both first. A fault leaves the words
// placed before it in the buffer, so the caller clears again.
HexReadResult readhextext(std::string_view text, ProgBuffer& progbuffer,
                          const ActiveModel& activemodel, int32_t& loadedwords);

// The largest HEX file read. An image of the largest chip is about 50 KB and real files stay
// under a megabyte; anything far above that is not a program for these chips.
inline constexpr std::uintmax_t kMaxHexFileBytes = 8 * 1024 * 1024;

// readhextext on the bytes of the file at path. A file that cannot be opened or read, is not an
// ordinary file or is larger than kMaxHexFileBytes is a failed read whose message names the
// file and the reason.
HexReadResult readhexfile(const std::string& path, ProgBuffer& progbuffer,
                          const ActiveModel& activemodel, int32_t& loadedwords);

// The text after "Line number N" for a fault, starting with ": ". WordTooWide names the word
// and its value, so the reader words it itself.
std::string hexfaulttext(HexFault fault);

// The warning about data outside the chip, for the given word addresses, written whole.
std::string outofrangewarning(const std::vector<int64_t>& addresses);

}  // namespace qm
