#include "devices/findmodel.h"

#include <algorithm>
#include <cctype>

#include "text/asciicase.h"
#include "text/leadingnumber.h"

namespace qm {

namespace {

bool alldigits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return std::isdigit(static_cast<unsigned char>(c)) != 0;
    });
}

}  // namespace

int32_t findmodel(const DeviceTable& table, std::string_view text) {
    const int32_t count = table.modelcount();
    if (alldigits(text)) {
        // A long run of digits is no model number; leadingnumber would clamp it into range.
        if (text.size() > 6) return 0;
        const int32_t n = leadingnumber(text);
        return n >= 1 && n <= count ? n : 0;
    }
    const std::string wanted = asciilower(text);
    const auto named = [&table, count](std::string_view name) -> int32_t {
        for (int32_t n = 1; n <= count; ++n) {
            if (asciilower(table.models[static_cast<size_t>(n)].name) == name) return n;
        }
        return 0;
    };
    if (const int32_t n = named(wanted); n != 0) return n;
    // "PIC16F690" for the model "16F690", as the part is printed on the chip.
    if (wanted.size() > 3 && wanted.starts_with("pic"))
        return named(std::string_view(wanted).substr(3));
    return 0;
}

}  // namespace qm
