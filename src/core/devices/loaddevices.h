#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "devices/devicemodel.h"

namespace qm {

// Name of the device description file in the application folder.
inline constexpr std::string_view kDeviceFileName = "quellmarkdevices.txt";

// A line that breaks the file format and was skipped (or, for a definition without a colon,
// stored empty). The front ends show these once after loading.
struct DeviceFileWarning {
    int linenumber = 0;  // counted from 1, empty lines included
    std::string text;    // the line as read, without its line end
    std::string reason;  // e.g. "ignored, no space in the line"
};

enum class LoadDevicesStatus {
    Ok,         // at least one model was read
    FileError,  // the file could not be opened or read; error says why
    NoModels,   // the file holds no "model:" line; the program ends silently
};

struct LoadDevicesResult {
    LoadDevicesStatus status = LoadDevicesStatus::NoModels;
    DeviceTable table;
    std::string error;  // set for FileError only
    std::vector<DeviceFileWarning> warnings;
};

// Reads the device description file at path. Never ends the process: the caller decides what
// a FileError or NoModels result means.
LoadDevicesResult loaddevices(const std::string& path);

// The same reader over text already in memory. Lines may end in CR LF or LF.
LoadDevicesResult parsedevices(std::string_view content);

// folder + "/" + "quellmarkdevices.txt"; the folder's case is kept (file systems may be
// case-sensitive) and no second separator is added when it already ends in "/". An empty folder
// gives the bare file name, which opens relative to the working directory.
std::string devicefilepath(std::string_view folder);

// One user-facing line per warning: "quellmarkdevices.txt line 12: ignored, no space in the line".
std::vector<std::string> formatdevicewarnings(const std::vector<DeviceFileWarning>& warnings,
                                              std::string_view filename = kDeviceFileName);

}  // namespace qm
