#pragma once

#include <string>

namespace qm::cli {

// The --help text, exit codes included.
std::string usagetext();
// The --version text: the program's name and version, then its licence.
std::string versiontext();
// The short hint printed after a usage error.
std::string usagehint();

}  // namespace qm::cli
