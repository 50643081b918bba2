#include "platform/startup.h"

#include "devices/devicefilelocation.h"
#include "devices/loaddevices.h"
#include "host/exitcode.h"
#include "platform/applicationfolder.h"

namespace qm {

std::string settingsrefusal(const QSettingsStore& settings) {
    const std::string why = settings.unusablereason();
    if (why.empty()) return {};
    return "the settings file " + settings.location() + " cannot be used: " + why +
           "; it was left alone.";
}

std::string settingsfailure(const QSettingsStore& settings) {
    const std::string& why = settings.writefailure();
    if (why.empty()) return {};
    return "the settings could not be saved to " + settings.location() + ": " + why + ".";
}

DeviceFileLoad loaddevicefile(const std::optional<std::string>& path) {
    DeviceFileLoad result;
    result.path = path ? *path : finddevicefile(applicationfolder());
    LoadDevicesResult loaded = loaddevices(result.path);
    result.warnings = formatdevicewarnings(loaded.warnings, result.path, loaded.warningcount);
    if (loaded.status == LoadDevicesStatus::FileError) {
        result.exitcode = kExitDevice;
        result.problem = loaded.error.empty() ? "Cannot read the device file " + result.path + "."
                                              : loaded.error;
    } else if (loaded.status == LoadDevicesStatus::NoModels) {
        result.exitcode = kExitDevice;
        result.problem = "The device file " + result.path + " lists no model.";
    }
    result.table = std::move(loaded.table);
    return result;
}

}  // namespace qm
