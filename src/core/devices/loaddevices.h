#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "devices/devicemodel.h"

namespace qm {

// Name of the device description file in the application folder.
inline constexpr std::string_view kDeviceFileName = "quellmarkdevices.txt";

// A line that breaks the file format and was skipped (or, for a definition without a colon,
// stored empty; for a key without a space after its colon, read as if there were one). The
// front ends show these once after loading.
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

// The largest device file read. A real one is a few hundred kilobytes.
inline constexpr std::uintmax_t kMaxDeviceFileBytes = 16 * 1024 * 1024;
// Warnings kept for showing; a file of junk lines would otherwise give millions.
inline constexpr size_t kMaxDeviceWarnings = 20;

struct LoadDevicesResult {
    LoadDevicesStatus status = LoadDevicesStatus::NoModels;
    DeviceTable table;
    std::string error;  // set for FileError only
    // The first kMaxDeviceWarnings warnings, in file order.
    std::vector<DeviceFileWarning> warnings;
    size_t warningcount = 0;  // all warnings, also those not kept
};

// Reads the device description file at path. Never ends the process: the caller decides what
// a FileError or NoModels result means. A path that is not an ordinary file (or a link to one),
// or a file larger than kMaxDeviceFileBytes, is a FileError.
LoadDevicesResult loaddevices(const std::string& path);

// The same reader over text already in memory. Lines may end in CR LF or LF.
LoadDevicesResult parsedevices(std::string_view content);

// folder + "/" + "quellmarkdevices.txt"; the folder's case is kept (file systems may be
// case-sensitive) and no second separator is added when it already ends in "/". An empty folder
// gives the bare file name, which opens relative to the working directory.
std::string devicefilepath(std::string_view folder);

// One user-facing line per warning: "quellmarkdevices.txt line 12: ignored, no space in the line",
// and when warningcount says there were more than were kept, a last line that counts the rest.
std::vector<std::string> formatdevicewarnings(const std::vector<DeviceFileWarning>& warnings,
                                              std::string_view filename = kDeviceFileName,
                                              size_t warningcount = 0);

}  // namespace qm
