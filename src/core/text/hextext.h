#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace qm {

// Fixed-width upper-case hex formatting. A value wider than the field keeps only its low digits;
// negative values use their 32-bit two's complement (hexbyte(-1) is "FF").
std::string hexbyte(int32_t value);    // 2 digits
std::string hexbyteh(int32_t value);   // hexbyte + "h"
std::string hexword(int32_t value);    // 4 digits
std::string hexwordh(int32_t value);   // hexword + "h"
std::string hexaddr(int32_t value);    // 6 digits
std::string hexwordle(int32_t value);  // hexword, low byte first: 3FFFh -> "FF3F"
// A whole address, not cut to a field: at least four digits, and as many more as it needs
// (100000h -> "100000"). Non-negative values.
std::string hexwhole(int64_t value);

// Strict parsing: exactly two (four) characters of 0-9 / A-F, else -1. Lower case is rejected.
int32_t parsebyte(std::string_view text);
int32_t parseword(std::string_view text);
// As parseword, with the digits A-F in either case.
int32_t parsewordanycase(std::string_view text);

// Intel HEX checksum of a text of hex digit pairs; an odd last character is not used and a pair
// that does not parse counts as -1.
std::string hexchecksum(std::string_view text);

}  // namespace qm
