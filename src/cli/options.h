#pragma once

#include <string>
#include <vector>

#include "platform/options/commandline.h"

namespace qm::cli {

// What the command line asked for: the options (those left out are empty, and their values then
// come from the settings the GUI uses), the command and its operands.
struct CliOptions : CommandLineOptions {
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
