#include "cli/modelchoice.h"

#include <algorithm>

#include "text/leadingnumber.h"

namespace qm::cli {

namespace {

std::string padleft(const std::string& text, size_t width) {
    return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

std::string padright(const std::string& text, size_t width) {
    return text.size() >= width ? text : text + std::string(width - text.size(), ' ');
}

}  // namespace

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
