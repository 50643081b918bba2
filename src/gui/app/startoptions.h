#pragma once

#include <string>
#include <vector>

#include "platform/options/commandline.h"

namespace qm::gui {

// The desktop program's command line: the options it shares with the command-line program (the
// port of this run and an FT232R cable's wiring, the settings file), and a HEX file.
struct StartOptions : CommandLineOptions {
    std::string hexfile;  // opened after the window has loaded
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
