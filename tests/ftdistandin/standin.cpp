#include "ftdistandin/standin.h"

#include <charconv>
#include <memory>

#include "ftdistandin/ft232r.h"

namespace qm::standin {

namespace {

std::unique_ptr<Ft232r>& cable() {
    static std::unique_ptr<Ft232r> plugged;
    return plugged;
}

template <typename T>
bool number(std::string_view text, T& value) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size();
}

}  // namespace

namespace {

// A key with a word for its value; false when the key is not one of these or the word is wrong.
bool wordsetting(std::string_view key, std::string_view value, Config& config, bool& ok) {
    if (key == "chip") {
        config.chip = std::string(value);
    } else if (key == "serial") {
        config.serial = std::string(value);
    } else if (key == "reading") {
        ok = value == "asked" || value == "divisor" || value == "x16";
        config.reading = value == "divisor" ? Reading::kDivisor
                         : value == "x16"   ? Reading::kTimes16
                                            : Reading::kAsked;
    } else if (key == "latch") {
        ok = value == "kept" || value == "cleared";
        config.latch = value == "cleared" ? Latch::kCleared : Latch::kKept;
    } else {
        return false;
    }
    return true;
}

// A key with a number for its value.
bool numbersetting(std::string_view key, std::string_view value, Config& config, bool& ok) {
    if (key == "fifo") {
        ok = number(value, config.fifo) && config.fifo > 0;
    } else if (key == "requestus") {
        ok = number(value, config.requestus) && config.requestus >= 0;
    } else if (key == "unplugafter") {
        ok = number(value, config.unplugafter);
    } else if (key == "rate") {
        ok = number(value, config.fixedrate);
    } else {
        return false;
    }
    return true;
}

// A key without a value.
bool flagsetting(std::string_view key, std::string_view value, Config& config) {
    if (!value.empty()) return false;
    if (key == "notemt") {
        config.transmitterempty = false;
    } else if (key == "absent") {
        config.present = false;
    } else if (key == "driverbusy") {
        config.driverbusy = true;
    } else {
        return false;
    }
    return true;
}

}  // namespace

bool parseconfig(std::string_view text, Config& config, std::string& error) {
    while (!text.empty()) {
        const size_t comma = text.find(',');
        const std::string_view item = text.substr(0, comma);
        text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
        const size_t equals = item.find('=');
        const std::string_view key = item.substr(0, equals);
        const std::string_view value =
            equals == std::string_view::npos ? std::string_view() : item.substr(equals + 1);
        bool ok = true;
        const bool known = wordsetting(key, value, config, ok) ||
                           numbersetting(key, value, config, ok) || flagsetting(key, value, config);
        if (!known || !ok) {
            error = "cannot read \"" + std::string(item) + "\"";
            return false;
        }
    }
    return true;
}

Ft232r& plug(const Config& config, Clock& clock) {
    cable() = std::make_unique<Ft232r>(config, clock);
    return *cable();
}

Ft232r* plugged() { return cable().get(); }

void unplugall() { cable().reset(); }

}  // namespace qm::standin
