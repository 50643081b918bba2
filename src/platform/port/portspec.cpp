#include "platform/port/portspec.h"

#include <cctype>

#include "sim/chipfamily.h"
#include "text/asciicase.h"
#include "text/leadingnumber.h"

namespace qm {

namespace {

// `prefix` is lower case.
bool startswithnocase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && asciilower(text.substr(0, prefix.size())) == prefix;
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

// "word" alone, or "word:VALUE" with a value that is not empty; the word in any case.
std::optional<std::string> wordport(std::string_view text, std::string_view word) {
    if (!startswithnocase(text, word)) return std::nullopt;
    text.remove_prefix(word.size());
    if (text.empty()) return std::string();
    if (text.front() != ':' || text.size() == 1) return std::nullopt;
    return std::string(text.substr(1));
}

// "CHIP" or "CHIP:IMAGE" after "sim=": a simulated part, or none for an empty socket (which
// keeps no image). Part names hold no colon, so the first one starts the image.
bool simsocket(std::string_view text, PortSpec& spec) {
    const size_t colon = text.find(':');
    const std::string_view chip = text.substr(0, colon);
    if (colon != std::string_view::npos) {
        spec.path = std::string(text.substr(colon + 1));
        if (spec.path.empty()) return false;
    }
    if (asciilower(chip) == kEmptySocket) {
        spec.simchip = std::string(kEmptySocket);
        return spec.path.empty();
    }
    spec.simchip = std::string(chip);
    return knownchipname(chip);
}

}  // namespace

std::optional<PortSpec> parseportspec(std::string_view text) {
    PortSpec spec;
    const std::pair<std::string_view, PortSpec::Kind> words[] = {
        {"ftdisim", PortSpec::Kind::FtdiSim},
        {"ftdi", PortSpec::Kind::Ftdi},
        {"sim", PortSpec::Kind::Sim}};
    for (const auto& [word, kind] : words) {
        spec.kind = kind;
        if (spec.simulated() && startswithnocase(text, word) && text.size() > word.size() &&
            text[word.size()] == '=') {
            if (!simsocket(text.substr(word.size() + 1), spec)) return std::nullopt;
            return spec;
        }
        if (auto value = wordport(text, word)) {
            spec.path = std::move(*value);
            return spec;
        }
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

std::string portforms() {
    return "1-16, COM1-COM16, a device path, sim[=CHIP][:IMAGE], ftdi[:SERIAL] or "
           "ftdisim[=CHIP][:IMAGE], with CHIP a simulated part (" +
           std::to_string(knownchipnames().size()) +
           " parts, the models of the shipped device file, such as 16F628A) or " +
           std::string(kEmptySocket);
}

}  // namespace qm
