#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "themes/colourroles.h"

namespace qm {

struct Theme {
    const char* name;  // exact, case included
    ColourRoles roles;
};

inline constexpr int kThemeCount = 46;
inline constexpr const char* kThemeOriginalDark = "Original Dark";
// The default theme; its colours are the windows' designed colours.
inline constexpr const char* kThemeOriginalLite = "Original Lite";

// All themes in the order names are compared: "Amethyst" to "Winamp Old", then "Original Dark"
// and "Original Lite".
const std::array<Theme, kThemeCount>& themetable();

// The theme names in table order. The theme chooser lays the same names out in rows of its own
// (the two "Original" themes side by side among the others).
std::vector<std::string> themenames();

// The row whose name equals `name` exactly (case-sensitive), or nullptr.
const Theme* findtheme(std::string_view name);

}  // namespace qm
