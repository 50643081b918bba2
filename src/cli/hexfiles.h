#pragma once

#include <string>

#include "cli/session.h"

namespace qm::cli {

// Loads a HEX file into the session's buffer as Open HEX File does: clears the buffer, reads,
// shows the fault or the warning about data outside the chip, and the load report. Returns
// kExitOk or kExitHex.
int loadhex(Session& session, const std::string& path);

// loadhex for program and verify, which also refuse a file that holds no data for the chip (it
// would leave an erased chip) and, unless --ignore-range is given, one with data outside the
// model (it is made for another chip). Returns kExitOk or kExitHex.
int loadhexforchip(Session& session, const std::string& path);

// Saves the session's buffer as a HEX file in the program's own layout. An existing file is
// replaced, but only once the new one has been written completely. Returns kExitOk or kExitHex.
int savehex(Session& session, const std::string& path);

}  // namespace qm::cli
