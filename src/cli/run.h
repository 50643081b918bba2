#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace qm::cli {

// The whole command line after the program name: parses it, runs the command and returns the
// exit code. The progress bar is drawn only when erristerminal is true.
int runcli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           bool erristerminal);

}  // namespace qm::cli
