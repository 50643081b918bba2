#include "link/portspec.h"

#include <cctype>

#include "sim/chipfamily.h"
#include "text/asciicase.h"
#include "text/leadingnumber.h"

namespace qm {

namespace {

bool startswithnocase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i]) return false;
    }
    return true;
}

// A number as the port prompt takes it: optional blanks, digits, an optional fraction, nothing
// after. Stricter than the prompt on trailing text, so that a mistyped path is not read as a
// port number.
bool isportnumbertext(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    const size_t digits = i;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i;
    if (i == digits) return false;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) ++i;
    }
    return i == text.size();
}

}  // namespace

std::optional<PortSpec> parseportspec(std::string_view text) {
    PortSpec spec;
    if (text == "sim" || text == "SIM") {
        spec.kind = PortSpec::Kind::Sim;
        return spec;
    }
    if (startswithnocase(text, "sim=")) {
        // Part names hold no colon, so the first one starts the image.
        const std::string_view rest = text.substr(4);
        const size_t colon = rest.find(':');
        const std::string_view chip = rest.substr(0, colon);
        spec.kind = PortSpec::Kind::Sim;
        if (colon != std::string_view::npos) {
            spec.path = std::string(rest.substr(colon + 1));
            if (spec.path.empty()) return std::nullopt;
        }
        if (asciilower(chip) == kEmptySocket) {
            if (!spec.path.empty()) return std::nullopt;
            spec.simchip = std::string(kEmptySocket);
        } else if (knownchipname(chip)) {
            spec.simchip = std::string(chip);
        } else {
            return std::nullopt;
        }
        return spec;
    }
    if (startswithnocase(text, "sim:")) {
        spec.kind = PortSpec::Kind::Sim;
        spec.path = std::string(text.substr(4));
        if (spec.path.empty()) return std::nullopt;
        return spec;
    }
    if (text.find('/') != std::string_view::npos) {
        spec.kind = PortSpec::Kind::Path;
        spec.path = std::string(text);
        return spec;
    }
    std::string_view number = text;
    if (startswithnocase(number, "com")) number.remove_prefix(3);
    if (!isportnumbertext(number)) return std::nullopt;
    const int32_t n = leadingnumber(number);
    if (n < 1 || n > 16) return std::nullopt;
    spec.kind = PortSpec::Kind::Number;
    spec.number = n;
    return spec;
}

}  // namespace qm
