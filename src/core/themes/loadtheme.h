#pragma once

#include <string>

#include "settings/settingsstore.h"
#include "themes/colourroles.h"

namespace qm {

// The process-wide theme: the name last read or chosen, and the roles the windows copy.
struct ThemeState {
    std::string themename;
    ColourRoles roles;
};

// Reads "Color Theme" (storing "Original Lite" when it is missing) into state.themename and sets
// the roles from the row of that exact name. A name no row holds gets the "Original Lite" colours
// but is kept as stored; an empty name leaves the roles as they were.
void loadtheme(SettingsStore& store, ThemeState& state);

}  // namespace qm
