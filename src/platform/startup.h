#pragma once

#include <optional>
#include <string>
#include <vector>

#include "devices/devicemodel.h"
#include "platform/qsettingsstore.h"

namespace qm {

// What both programs do before their work, with the same words: the settings file they were
// pointed at, refused before anything reads or writes it when it cannot be used, and the device
// file, with what is wrong with it as texts. The front ends show the texts their way (standard
// error; an error box) and end with the exit code.

// "the settings file PATH cannot be used: WHY; it was left alone.", empty when it can be used.
std::string settingsrefusal(const QSettingsStore& settings);
// "the settings could not be saved to PATH: WHY.", empty while every value was saved.
std::string settingsfailure(const QSettingsStore& settings);

struct DeviceFileLoad {
    int exitcode = 0;                   // kExitDevice when the file cannot be used
    std::string problem;                // why, when it cannot
    std::vector<std::string> warnings;  // lines that break its format, the path named
    DeviceTable table;
    std::string path;  // the file read
};

// Reads the device file at `path`, or when none is given the one the program finds beside
// itself (else in ../share/quellmark/ from its folder).
DeviceFileLoad loaddevicefile(const std::optional<std::string>& path);

}  // namespace qm
