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

namespace {

// The line an entry names: 0 rts, 1 dtr, 2 dsr, -1 none of them.
int lineindex(const std::string& name) {
    if (name == "rts") return 0;
    if (name == "dtr") return 1;
    if (name == "dsr") return 2;
    return -1;
}

FtdiPinMap::Line& lineof(FtdiPinMap& map, int index) {
    return index == 0 ? map.rts : index == 1 ? map.dtr : map.dsr;
}

// PIN with an optional ":high" or ":low"; empty when it reads, else why not.
std::string parseline(std::string_view value, const std::string& name, FtdiPinMap::Line& line) {
    if (const size_t colon = value.find(':'); colon != std::string_view::npos) {
        const std::string level = asciilower(trim(value.substr(colon + 1)));
        if (level != "high" && level != "low")
            return "'" + level + "' after " + name + ": use :high or :low";
        line.assertedhigh = level == "high";
        value = trim(value.substr(0, colon));
    }
    line.pin = pinnumber(value);
    if (line.pin < 0)
        return "'" + std::string(value) + "' for " + name + " is not a pin: use D0 to D7";
    return {};
}

// One LINE=PIN entry into the map; empty when it reads, else why not.
std::string parseentry(std::string_view entry, FtdiPinMap& map, bool (&seen)[3]) {
    const size_t eq = entry.find('=');
    if (eq == std::string_view::npos) return "'" + std::string(entry) + "' is not LINE=PIN";
    const std::string name = asciilower(trim(entry.substr(0, eq)));
    const int index = lineindex(name);
    if (index < 0) return "unknown line '" + name + "': the lines are rts, dtr and dsr";
    if (seen[index]) return "line " + name + " is given twice";
    seen[index] = true;
    FtdiPinMap::Line line;
    if (std::string why = parseline(trim(entry.substr(eq + 1)), name, line); !why.empty())
        return why;
    lineof(map, index) = line;
    return {};
}

// What the FT232R's wiring does not allow, empty when the map is fine.
std::string checkwiring(const FtdiPinMap& map) {
    const bool modemoutputs =
        (map.rts.pin == 2 && map.dtr.pin == 4) || (map.rts.pin == 4 && map.dtr.pin == 2);
    if (!modemoutputs) return "rts and dtr must be on D2 and D4, the FT232R's own modem outputs";
    if (map.dsr.pin == FtdiPinMap::kTxdPin || map.dsr.pin == 2 || map.dsr.pin == 4)
        return "dsr must be on an input pin: D1, D3, D5, D6 or D7";
    return {};
}

}  // namespace

std::optional<FtdiPinMap> parseftdipins(std::string_view text, std::string& error) {
    FtdiPinMap map;
    bool seen[3] = {false, false, false};
    for (;;) {
        const size_t comma = text.find(',');
        error = parseentry(trim(text.substr(0, comma)), map, seen);
        if (!error.empty()) return std::nullopt;
        if (comma == std::string_view::npos) break;
        text.remove_prefix(comma + 1);
    }
    error = checkwiring(map);
    if (!error.empty()) return std::nullopt;
    return map;
}

}  // namespace qm
