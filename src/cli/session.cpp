#include "cli/session.h"

#include "cli/modelchoice.h"
#include "devices/findmodel.h"
#include "devices/savedmodel.h"
#include "devices/selectmodel.h"
#include "host/exitcode.h"
#include "host/systemclock.h"
#include "host/virtualclock.h"
#include "platform/startup.h"
#include "platform/usersettings.h"

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
    const std::string refused = settingsrefusal(*settings_);
    if (refused.empty()) return kExitOk;
    host.printerror("quellmark-cli: " + refused);
    return kExitUsage;
}

void Session::reportsettingsfailure() {
    const std::string failed = settingsfailure(*settings_);
    if (!failed.empty()) host.printerror("quellmark-cli: " + failed);
}

int Session::loaddevicefile() {
    DeviceFileLoad loaded = qm::loaddevicefile(options.devices);
    devicespath = loaded.path;
    for (const std::string& line : loaded.warnings) host.printerror(line);
    if (loaded.exitcode != kExitOk) {
        host.printerror(loaded.problem);
        return loaded.exitcode;
    }
    devices = std::move(loaded.table);
    return kExitOk;
}

int Session::choosemodel() {
    SelectModelResult selected;
    if (options.model) {
        const int32_t number = findmodel(devices, *options.model);
        if (number == 0) {
            host.printerror("Unknown model '" + *options.model + "'. The models are:\n" +
                            modellisting(devices));
            return kExitDevice;
        }
        activemodel.modelnumber = number;
        selected = selectmodel(devices, number, activemodel);
    } else {
        selected = activatesavedmodel(devices, settings(), activemodel);
    }
    if (!selected.ok) {
        host.printerror(selected.message);
        return kExitDevice;
    }
    clearbuffer(progbuffer, activemodel);
    return kExitOk;
}

}  // namespace qm::cli
