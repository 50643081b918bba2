#pragma once

#include <string>
#include <string_view>

namespace qm {

// The licence line that both programs' --version and the About box show, with the SPDX name the
// package's copyright file and metainfo use.
inline constexpr char kLicenceLine[] = "License: GNU GPL version 3 or later (GPL-3.0-or-later)";

// What --version prints: "quellmark-cli 0.1.0" and the licence line, each ended by a newline.
inline std::string versiontext(std::string_view program, std::string_view version) {
    return std::string(program) + " " + std::string(version) + "\n" + kLicenceLine + "\n";
}

}  // namespace qm
