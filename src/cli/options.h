#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qm::cli {

// What the command line asked for. Options left out are empty: their values then come from the
// settings the GUI uses.
struct CliOptions {
    std::optional<std::string> devices;  // --devices FILE
    std::optional<std::string> model;    // --model NAME|NUMBER
    // --port N|COMn|PATH|sim[=CHIP][:IMAGE]|ftdi[:SERIAL]|ftdisim[=CHIP][:IMAGE]
    std::optional<std::string> port;
    std::optional<std::string> baud;      // --baud RATE
    std::optional<int32_t> holdus;        // --hold-us N
    std::optional<std::string> ftdipins;  // --ftdi-pins MAP (FT232R cables only)
    std::optional<std::string> settings;  // --settings FILE (an INI file instead of the user's)
    bool quiet = false;
    bool virtualtime = false;  // --virtual-time: simulated ports only, for tests
    bool noverify = false;     // program --no-verify
    bool noidcheck = false;    // --no-id-check: the operations do not read the device ID first
    // --overwrite-calibration: the operations do not keep the chip's calibration words (the
    // default, --keep-calibration, keeps them).
    bool overwritecalibration = false;
    bool help = false;
    bool version = false;
    std::string command;
    std::vector<std::string> args;  // the command's operands
};

struct ParsedOptions {
    bool ok = false;
    std::string error;  // one line for the user when ok is false
    CliOptions options;
};

// Parses the arguments after the program name. Options may stand before or after the command;
// "--" ends the options. Checks the command's operand count and the option values' form, not
// whether files, models or ports exist.
ParsedOptions parseoptions(const std::vector<std::string>& args);

}  // namespace qm::cli
