#pragma once

#include <memory>
#include <ostream>
#include <string>

#include "buffer/progbuffer.h"
#include "cli/clihost.h"
#include "cli/options.h"
#include "cli/progressbar.h"
#include "devices/activemodel.h"
#include "devices/devicemodel.h"
#include "host/clock.h"
#include "platform/qsettingsstore.h"
#include "settings/settingsstore.h"

namespace qm::cli {

// Everything one run of the command line works with. The settings are the GUI's (or the file
// that --settings or QUELLMARK_SETTINGS names); the options only override them for this run.
class Session {
  public:
    Session(CliOptions options, std::ostream& out, std::ostream& err, bool erristerminal);

    // Reads the device file (--devices, or the one finddevicefile finds for the executable). Prints
    // what went wrong and returns the exit code when it cannot be used, else kExitOk.
    int loaddevicefile();
    // Activates the model of --model, or the one saved under "Microcontroller Model", and sizes
    // the buffer for it. An unknown --model lists the models. Returns an exit code.
    int choosemodel();

    SettingsStore& settings() { return *settings_; }
    // Where the settings live, for messages.
    const std::string& settingslocation() const { return settingslocation_; }
    // Refuses a settings file that is no ordinary file (a device, a pipe, a folder) before
    // anything reads or writes it: prints why and returns kExitUsage, else kExitOk.
    int checksettings();
    // Says once on standard error when settings could not be saved, and why.
    void reportsettingsfailure();

    CliOptions options;
    std::ostream& out;
    std::ostream& err;
    std::unique_ptr<Clock> clock;
    ProgressBar bar;
    CliHost host;
    DeviceTable devices;
    std::string devicespath;
    ActiveModel activemodel;
    ProgBuffer progbuffer;

  private:
    std::unique_ptr<QSettingsStore> settings_;
    std::string settingslocation_;
};

}  // namespace qm::cli
