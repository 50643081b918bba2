#include "devices/devicefilelocation.h"

#include <filesystem>
#include <system_error>

#include "devices/loaddevices.h"

namespace qm {

namespace {

// The data folder of an installed program, relative to its executable's folder.
constexpr std::string_view kInstalledDataFolder = "../share/quellmark";

}  // namespace

std::vector<std::string> devicefilecandidates(std::string_view appfolder) {
    const std::filesystem::path installed =
        (std::filesystem::path(appfolder) / kInstalledDataFolder / kDeviceFileName)
            .lexically_normal();
    return {devicefilepath(appfolder), installed.generic_string()};
}

std::string finddevicefile(std::string_view appfolder) {
    const std::vector<std::string> candidates = devicefilecandidates(appfolder);
    for (const std::string& path : candidates) {
        std::error_code error;
        if (std::filesystem::is_regular_file(path, error)) return path;
    }
    return candidates.front();
}

}  // namespace qm
