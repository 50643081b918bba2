#include "cli/modelchoice.h"

#include <algorithm>
#include <cctype>

#include "text/asciicase.h"
#include "text/leadingnumber.h"

namespace qm::cli {

namespace {

bool alldigits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return std::isdigit(static_cast<unsigned char>(c)) != 0;
    });
}

std::string padleft(const std::string& text, size_t width) {
    return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

std::string padright(const std::string& text, size_t width) {
    return text.size() >= width ? text : text + std::string(width - text.size(), ' ');
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

std::string modellisting(const DeviceTable& table) {
    size_t namewidth = 5;
    for (int32_t n = 1; n <= table.modelcount(); ++n) {
        namewidth = std::max(namewidth, table.models[static_cast<size_t>(n)].name.size());
    }
    std::string text = "Number  " + padright("Model", namewidth) + "  FLASH words  EEPROM bytes\n";
    for (int32_t n = 1; n <= table.modelcount(); ++n) {
        const devicemodel& model = table.models[static_cast<size_t>(n)];
        text += padleft(std::to_string(n), 6) + "  " + padright(model.name, namewidth) + "  " +
                padleft(std::to_string(leadingnumber(model.flash)), 11) + "  " +
                padleft(std::to_string(leadingnumber(model.eeprom)), 12) + "\n";
    }
    return text;
}

}  // namespace qm::cli
