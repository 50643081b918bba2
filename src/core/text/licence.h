#pragma once

namespace qm {

// The licence line that both programs' --version and the About box show, with the SPDX name the
// package's copyright file and metainfo use.
inline constexpr char kLicenceLine[] = "License: GNU GPL version 3 or later (GPL-3.0-or-later)";

}  // namespace qm
