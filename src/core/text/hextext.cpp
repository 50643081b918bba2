#include "text/hextext.h"

#include "text/asciicase.h"

namespace qm {

namespace {

constexpr char kDigits[] = "0123456789ABCDEF";

std::string hexdigits(int32_t value, int width) {
    auto bits = static_cast<uint32_t>(value);
    std::string out(static_cast<size_t>(width), '0');
    for (int i = width - 1; i >= 0; --i) {
        out[static_cast<size_t>(i)] = kDigits[bits & 0xF];
        bits >>= 4;
    }
    return out;
}

int digitvalue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::string hexbyte(int32_t value) { return hexdigits(value, 2); }
std::string hexbyteh(int32_t value) { return hexbyte(value) + "h"; }
std::string hexword(int32_t value) { return hexdigits(value, 4); }
std::string hexwordh(int32_t value) { return hexword(value) + "h"; }
std::string hexaddr(int32_t value) { return hexdigits(value, 6); }

std::string hexwordle(int32_t value) {
    const std::string word = hexword(value);
    return word.substr(2, 2) + word.substr(0, 2);
}

int32_t parsebyte(std::string_view text) {
    if (text.size() != 2) return -1;
    const int high = digitvalue(text[0]);
    const int low = digitvalue(text[1]);
    if (high < 0 || low < 0) return -1;
    return high * 16 + low;
}

int32_t parseword(std::string_view text) {
    if (text.size() != 4) return -1;
    const int32_t high = parsebyte(text.substr(0, 2));
    const int32_t low = parsebyte(text.substr(2, 2));
    if (high < 0 || low < 0) return -1;
    return high * 256 + low;
}

int32_t parsewordanycase(std::string_view text) { return parseword(asciiupper(text)); }

std::string hexchecksum(std::string_view text) {
    int32_t sum = 0;
    for (size_t i = 0; i + 1 < text.size(); i += 2) sum += parsebyte(text.substr(i, 2));
    const int32_t low = ((sum % 256) + 256) % 256;
    return hexbyte((256 - low) % 256);
}

std::string hexwhole(int64_t value) {
    std::string digits;
    for (; value > 0 || digits.size() < 4; value >>= 4)
        digits.insert(digits.begin(), kDigits[value & 0xF]);
    return digits;
}

}  // namespace qm
