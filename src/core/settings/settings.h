#pragma once

#include <cstdint>
#include <string>

#include "settings/settingnames.h"
#include "settings/settingsstore.h"

namespace qm {

// The four accessors of the settings key. None reports failure: a value that cannot be read is
// replaced by the caller's default, which is also stored so that it can be edited afterwards; a
// store that cannot be written simply keeps nothing.

// Makes sure the key exists. Every accessor calls it first.
void createsettingskey(SettingsStore& store);

// The stored text, or `fallback` (then also stored) when the value is missing, is not text, or is
// longer than kMaxSettingText characters.
std::string getsetting(SettingsStore& store, const std::string& name, const std::string& fallback);
void savesetting(SettingsStore& store, const std::string& name, const std::string& value);

// The stored number, or `fallback` (then also stored as a number) when the value is missing or
// does not hold a 32-bit number.
int32_t getsettingnum(SettingsStore& store, const std::string& name, int32_t fallback);
void savesettingnum(SettingsStore& store, const std::string& name, int32_t value);

}  // namespace qm
