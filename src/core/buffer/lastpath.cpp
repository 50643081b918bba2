#include "buffer/lastpath.h"

#include "buffer/shortpath.h"
#include "settings/settings.h"

namespace qm {

std::string takelastpath(SettingsStore& store, std::string& lastpath,
                         const std::string& chosenpath) {
    SplitPath split = splitpath(chosenpath);
    lastpath = std::move(split.folder);
    savesetting(store, kSettingLastPath, lastpath);
    return split.name;
}

}  // namespace qm
