#pragma once

#include <memory>
#include <string>

#include "platform/qsettingsstore.h"

namespace qm {

// The settings store a front end works with: the INI file `inipath` when one is given, else the
// one the environment variable QUELLMARK_SETTINGS names, else the user's own store.
std::unique_ptr<QSettingsStore> usersettings(const std::string& inipath);

}  // namespace qm
