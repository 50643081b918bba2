#include "themes/loadtheme.h"

#include "settings/settings.h"
#include "themes/themetable.h"

namespace qm {

void loadtheme(SettingsStore& store, ThemeState& state) {
    state.themename = getsetting(store, kSettingColorTheme, kDefaultColorTheme);
    // Names are unique, so one exact search over the whole table finds the same row as comparing
    // the named themes first and the two originals last. The empty name matches no row.
    if (state.themename.empty()) return;
    const Theme* theme = findtheme(state.themename);
    if (theme == nullptr) theme = findtheme(kThemeOriginalLite);
    state.roles = theme->roles;
}

}  // namespace qm
