#include "link/portspec.h"

#include <cctype>

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

// "word" alone, or "word:VALUE" with a value that is not empty; the word in any case.
std::optional<std::string> wordport(std::string_view text, std::string_view word) {
    if (!startswithnocase(text, word)) return std::nullopt;
    text.remove_prefix(word.size());
    if (text.empty()) return std::string();
    if (text.front() != ':' || text.size() == 1) return std::nullopt;
    return std::string(text.substr(1));
}

}  // namespace

std::optional<PortSpec> parseportspec(std::string_view text) {
    PortSpec spec;
    if (text == "sim" || text == "SIM") {
        spec.kind = PortSpec::Kind::Sim;
        return spec;
    }
    if (startswithnocase(text, "sim:")) {
        spec.kind = PortSpec::Kind::Sim;
        spec.path = std::string(text.substr(4));
        if (spec.path.empty()) return std::nullopt;
        return spec;
    }
    const std::pair<std::string_view, PortSpec::Kind> words[] = {
        {"ftdisim", PortSpec::Kind::FtdiSim}, {"ftdi", PortSpec::Kind::Ftdi}};
    for (const auto& [word, kind] : words) {
        if (auto value = wordport(text, word)) {
            spec.kind = kind;
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

}  // namespace qm
