#pragma once

#include <optional>
#include <string>
#include <vector>

#include "link/ftdipins.h"
#include "platform/port/portspec.h"

namespace qm::gui {

// The desktop program's command line:
// quellmark [--port PORT] [--ftdi-pins MAP] [--settings FILE] [FILE.hex]
struct StartOptions {
    std::optional<PortSpec> port;  // for this run only; nothing about it is saved
    FtdiPinMap ftdipins;           // an FT232R cable's wiring (--port ftdi or ftdisim only)
    std::string settings;          // an INI file instead of the user's settings
    std::string hexfile;           // opened after the window has loaded
    bool help = false;
    bool version = false;
};

struct ParsedStart {
    bool ok = false;
    std::string error;  // one line for the user when ok is false
    StartOptions options;
};

ParsedStart parsestartoptions(const std::vector<std::string>& args);

// The --help text.
std::string startusage();

}  // namespace qm::gui
