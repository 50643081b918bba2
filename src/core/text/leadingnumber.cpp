#include "text/leadingnumber.h"

#include <cctype>
#include <cstdint>
#include <limits>

namespace qm {

namespace {

bool isdigitchar(char c) { return c >= '0' && c <= '9'; }

}  // namespace

int32_t leadingnumber(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;

    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }

    // Whole part, saturated well above the 32-bit range so clamping below stays exact.
    constexpr int64_t kCap = int64_t{1} << 40;
    int64_t whole = 0;
    while (i < text.size() && isdigitchar(text[i])) {
        if (whole < kCap) whole = whole * 10 + (text[i] - '0');
        ++i;
    }

    // Fraction: decided exactly from its digits, no floating point.
    if (i < text.size() && text[i] == '.') {
        ++i;
        int first = -1;
        bool restnonzero = false;
        while (i < text.size() && isdigitchar(text[i])) {
            if (first < 0) {
                first = text[i] - '0';
            } else if (text[i] != '0') {
                restnonzero = true;
            }
            ++i;
        }
        const bool roundup = first > 5 || (first == 5 && (restnonzero || (whole % 2) == 1));
        if (roundup) ++whole;
    }

    int64_t value = negative ? -whole : whole;
    if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    if (value < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

}  // namespace qm
