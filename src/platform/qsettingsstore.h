#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "settings/settingsstore.h"

class QSettings;

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
//
// The INI file is guarded: QSettings saves by writing a new file and renaming it over the old
// path, which would replace a device node, reading a pipe would block, and a huge file would be
// read into memory and written back whole. Before every access the path, its size and QSettings'
// lock file beside it are checked; while they are unfit, reads find nothing and writes are
// dropped, and unusablereason() says why. A write that could
// not be saved is remembered with its reason for the front end to report.
// A settings file is a few hundred bytes; one far larger is not the program's and is left alone.
inline constexpr std::uintmax_t kMaxSettingsFileBytes = 1024 * 1024;

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

    // Why the INI file cannot be used at all, e.g. "it is a character device, not an ordinary
    // file"; empty when it can (always for the registry).
    std::string unusablereason() const;
    // Why the last write that failed was not saved, e.g. "the file is write-protected"; empty
    // while every write has been saved.
    const std::string& writefailure() const { return writefailure_; }

  private:
    // The INI file's path; empty for the registry.
    std::string inifile() const;
    void checkwrite(const QSettings& settings);

    bool native_;
    std::string inipath_;
    std::string writefailure_;
};

}  // namespace qm
