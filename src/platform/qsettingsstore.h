#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "settings/settingsstore.h"

namespace qm {

// The settings store of the running program, over QSettings. On Windows it is the registry key
// HKEY_CURRENT_USER\Software\Quellmark; elsewhere the INI file Quellmark.ini in the user's config
// folder (for example ~/.config/Quellmark.ini). Text is UTF-8 on both sides.
//
// Kinds: the registry keeps string and 32-bit values apart, an INI file holds only text. Both are
// read the same way: a text read gives the stored text (a number as its decimal digits); a number
// read gives the stored number, or the stored text when it is a decimal 32-bit integer (optional
// sign, digits only) and counts as missing otherwise, so the accessors replace it with their
// default.
//
// Every access opens the store afresh and every write is flushed to disk before it returns, so
// hand edits made while the program runs are seen at the next read and a crash loses nothing.
class QSettingsStore : public SettingsStore {
public:
    // The per-user store of the platform.
    QSettingsStore();
    // An INI file at `inipath` (tests, the command-line front end's --settings).
    explicit QSettingsStore(std::string inipath);

    void createkey() override;
    std::optional<std::string> readtext(const std::string& name) override;
    std::optional<int32_t> readnum(const std::string& name) override;
    void writetext(const std::string& name, const std::string& value) override;
    void writenum(const std::string& name, int32_t value) override;

    // Where the values live: the INI file's path, or the registry key.
    std::string location() const;

private:
    bool native_;
    std::string inipath_;
};

}  // namespace qm
