#pragma once

#include <string>

#include "settings/settingsstore.h"

namespace qm {

// What the open and save commands do with the path the file dialog gave: its folder (with the
// separator, or empty when there is none) becomes lastpath and is saved under "Last Path" at
// once, whatever happens to the file afterwards. Gives the file name without its folder.
std::string takelastpath(SettingsStore& store, std::string& lastpath,
                         const std::string& chosenpath);

}  // namespace qm
