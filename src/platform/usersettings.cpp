#include "platform/usersettings.h"

#include <cstdlib>

namespace qm {

std::unique_ptr<QSettingsStore> usersettings(const std::string& inipath) {
    std::string path = inipath;
    if (path.empty()) {
        if (const char* env = std::getenv("QUELLMARK_SETTINGS"); env != nullptr && *env) path = env;
    }
    if (path.empty()) return std::make_unique<QSettingsStore>();
    return std::make_unique<QSettingsStore>(path);
}

}  // namespace qm
