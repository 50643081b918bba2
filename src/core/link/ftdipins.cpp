#include "link/ftdipins.h"

#include <array>

#include "text/asciicase.h"

namespace qm {

namespace {

uint8_t bit(int pin) { return static_cast<uint8_t>(1u << pin); }

bool levelof(const FtdiPinMap::Line& line, uint8_t pins) {
    const bool high = (pins & bit(line.pin)) != 0;
    return high == line.assertedhigh;
}

uint8_t put(uint8_t pins, const FtdiPinMap::Line& line, bool on) {
    const bool high = on == line.assertedhigh;
    return high ? uint8_t(pins | bit(line.pin)) : uint8_t(pins & ~bit(line.pin));
}

std::string_view trim(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

// "D5", "d5" or "5".
int pinnumber(std::string_view text) {
    if (!text.empty() && (text.front() == 'D' || text.front() == 'd')) text.remove_prefix(1);
    if (text.size() != 1 || text[0] < '0' || text[0] > '7') return -1;
    return text[0] - '0';
}

}  // namespace

uint8_t FtdiPinMap::outputmask() const { return bit(kTxdPin) | bit(rts.pin) | bit(dtr.pin); }

uint8_t FtdiPinMap::encode(bool rtson, bool dtron) const {
    return put(put(bit(kTxdPin), rts, rtson), dtr, dtron);
}

bool FtdiPinMap::rtsof(uint8_t pins) const { return levelof(rts, pins); }
bool FtdiPinMap::dtrof(uint8_t pins) const { return levelof(dtr, pins); }
bool FtdiPinMap::dsrof(uint8_t pins) const { return levelof(dsr, pins); }

FtdiPinMap::UartLines FtdiPinMap::uartlines(bool rtson, bool dtron) const {
    const uint8_t pins = encode(rtson, dtron);
    // The UART pulls RTS# (D2) and DTR# (D4) low for an asserted setting.
    return {(pins & bit(2)) == 0, (pins & bit(4)) == 0};
}

std::string FtdiPinMap::text() const {
    std::string out;
    const std::array<std::pair<const char*, const Line*>, 3> lines{
        {{"rts", &rts}, {"dtr", &dtr}, {"dsr", &dsr}}};
    for (const auto& [name, line] : lines) {
        if (!out.empty()) out += ',';
        out += std::string(name) + "=D" + std::to_string(line->pin);
        if (line->assertedhigh) out += ":high";
    }
    return out;
}

std::optional<FtdiPinMap> parseftdipins(std::string_view text, std::string& error) {
    FtdiPinMap map;
    bool seen[3] = {false, false, false};
    while (true) {
        const size_t comma = text.find(',');
        const std::string_view entry = trim(text.substr(0, comma));
        const size_t eq = entry.find('=');
        if (eq == std::string_view::npos) {
            error = "'" + std::string(entry) + "' is not LINE=PIN";
            return std::nullopt;
        }
        const std::string name = asciilower(trim(entry.substr(0, eq)));
        std::string_view value = trim(entry.substr(eq + 1));
        int index = -1;
        if (name == "rts") index = 0;
        if (name == "dtr") index = 1;
        if (name == "dsr") index = 2;
        if (index < 0) {
            error = "unknown line '" + name + "': the lines are rts, dtr and dsr";
            return std::nullopt;
        }
        if (seen[index]) {
            error = "line " + name + " is given twice";
            return std::nullopt;
        }
        seen[index] = true;
        FtdiPinMap::Line line;
        if (const size_t colon = value.find(':'); colon != std::string_view::npos) {
            const std::string level = asciilower(trim(value.substr(colon + 1)));
            if (level != "high" && level != "low") {
                error = "'" + level + "' after " + name + ": use :high or :low";
                return std::nullopt;
            }
            line.assertedhigh = level == "high";
            value = trim(value.substr(0, colon));
        }
        line.pin = pinnumber(value);
        if (line.pin < 0) {
            error = "'" + std::string(value) + "' for " + name + " is not a pin: use D0 to D7";
            return std::nullopt;
        }
        (index == 0 ? map.rts : index == 1 ? map.dtr : map.dsr) = line;
        if (comma == std::string_view::npos) break;
        text.remove_prefix(comma + 1);
    }
    const bool modemoutputs =
        (map.rts.pin == 2 && map.dtr.pin == 4) || (map.rts.pin == 4 && map.dtr.pin == 2);
    if (!modemoutputs) {
        error = "rts and dtr must be on D2 and D4, the FT232R's own modem outputs";
        return std::nullopt;
    }
    if (map.dsr.pin == FtdiPinMap::kTxdPin || map.dsr.pin == 2 || map.dsr.pin == 4) {
        error = "dsr must be on an input pin: D1, D3, D5, D6 or D7";
        return std::nullopt;
    }
    return map;
}

}  // namespace qm
