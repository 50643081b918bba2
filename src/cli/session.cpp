#include "cli/session.h"

#include "cli/modelchoice.h"
#include "devices/devicefilelocation.h"
#include "devices/loaddevices.h"
#include "devices/selectmodel.h"
#include "host/exitcode.h"
#include "host/systemclock.h"
#include "host/virtualclock.h"
#include "platform/applicationfolder.h"
#include "platform/usersettings.h"
#include "settings/settings.h"

namespace qm::cli {

namespace {

std::unique_ptr<Clock> makeclock(bool virtualtime) {
    if (virtualtime) return std::make_unique<VirtualClock>();
    return std::make_unique<SystemClock>();
}

}  // namespace

Session::Session(CliOptions opts, std::ostream& outstream, std::ostream& errstream,
                 bool erristerminal)
    : options(std::move(opts)),
      out(outstream),
      err(errstream),
      clock(makeclock(options.virtualtime)),
      bar(errstream, erristerminal && !options.quiet),
      host(outstream, errstream, bar, *clock) {
    auto store = usersettings(options.settings.value_or(""));
    settingslocation_ = store->location();
    settings_ = std::move(store);
}

int Session::checksettings() {
    const std::string why = settings_->unusablereason();
    if (why.empty()) return kExitOk;
    host.printerror("quellmark-cli: the settings file " + settingslocation_ +
                    " cannot be used: " + why + "; it was left alone.");
    return kExitUsage;
}

void Session::reportsettingsfailure() {
    const std::string& why = settings_->writefailure();
    if (!why.empty())
        host.printerror("quellmark-cli: the settings could not be saved to " + settingslocation_ +
                        ": " + why + ".");
}

int Session::loaddevicefile() {
    devicespath = options.devices ? *options.devices : finddevicefile(applicationfolder());
    LoadDevicesResult loaded = loaddevices(devicespath);
    if (loaded.status == LoadDevicesStatus::FileError) {
        host.printerror(loaded.error.empty() ? "Cannot read the device file " + devicespath + "."
                                             : loaded.error);
        return kExitDevice;
    }
    for (const auto& line :
         formatdevicewarnings(loaded.warnings, devicespath, loaded.warningcount)) {
        host.printerror(line);
    }
    if (loaded.status == LoadDevicesStatus::NoModels) {
        host.printerror("The device file " + devicespath + " lists no model.");
        return kExitDevice;
    }
    devices = std::move(loaded.table);
    return kExitOk;
}

int Session::choosemodel() {
    int32_t number = 0;
    if (options.model) {
        number = findmodel(devices, *options.model);
        if (number == 0) {
            host.printerror("Unknown model '" + *options.model + "'. The models are:\n" +
                            modellisting(devices));
            return kExitDevice;
        }
    } else {
        const std::string saved = getsetting(settings(), kSettingModel, kDefaultModel);
        const StartupModel startup = startupmodelnumber(saved, devices.modelcount());
        if (startup.savedefault) savesetting(settings(), kSettingModel, kDefaultModel);
        number = startup.modelnumber;
    }
    activemodel.modelnumber = number;
    const SelectModelResult selected = selectmodel(devices, number, activemodel);
    if (!selected.ok) {
        host.printerror(selected.message);
        return kExitDevice;
    }
    clearbuffer(progbuffer, activemodel);
    return kExitOk;
}

}  // namespace qm::cli
