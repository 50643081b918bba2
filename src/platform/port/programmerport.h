#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "devices/activemodel.h"
#include "host/clock.h"
#include "host/host.h"
#include "link/linedriver.h"
#include "link/portselect.h"
#include "link/serialport.h"
#include "link/stoppableport.h"
#include "platform/options/commandline.h"
#include "platform/port/portspec.h"
#include "settings/settingsstore.h"

namespace qm {

class FtdiCable;
class SimProgrammer;

// The port a program drives the chip through, for both front ends: the serial port of the
// settings, or for one run the port the command line names (a port number or device path, the
// FT232R cable, the simulated adapter or the simulated cable). It picks the back-end from the
// port's text in one place, opens it with the settings (and the run's overrides), names it on the
// status line, says in one text why it did not open, follows model changes with the simulated
// chip, reports what the simulated chip found wrong, keeps its image, and closes. The front ends
// show what it says and never look at the kind of port.
//
// The port it hands out (port()) and its line driver stay the same object for its whole life,
// whichever back-end is behind them; a signal asking the program to stop (stopreason) stops them.
class ProgrammerPort {
  public:
    struct Setup {
        Host* host = nullptr;
        SettingsStore* settings = nullptr;
        const ActiveModel* activemodel = nullptr;
        Clock* clock = nullptr;
        // The serial port back-end; nullptr makes a QtSerialPort.
        SerialPort* serialport = nullptr;
        // Why operations are to stop, empty while nothing asks (StoppablePort).
        std::function<std::string()> stopreason;
    };

    // What a run asks for beside the settings.
    struct Request {
        // The port option's text; none: the serial port saved under "Serial Port Number".
        std::optional<std::string> port;
        // For this run only, instead of "Serial Port Baud Rate" and "Line Hold Time".
        std::optional<int32_t> baud;
        std::optional<int32_t> holdus;
        // An FT232R cable's wiring (the --ftdi-pins text, already checked); empty: the standard.
        std::string ftdipins;
        // Probes COM1..COM16 first, for the port prompt's list; without it they are probed only
        // when no port number has been saved yet, to find the default.
        bool listports = false;

        // The port, baud rate, hold time and wiring the command line gives.
        static Request of(const CommandLineOptions& options) {
            return {options.port, options.baud, options.holdus, options.ftdipins.value_or(""),
                    false};
        }
    };

    // The outcome of opening. The status line already names the port and says whether it is
    // ready; `message` says why it did not open, for standard error. The desktop program shows
    // it in a box only when `boxed`: a serial port that does not open is told on the status line
    // alone.
    struct Opened {
        bool ok = false;
        std::string message;
        bool boxed = false;
    };

    // What the simulated chip (and cable) found wrong since the last report, and a failed save
    // of its image; no lines on a real port or when all is well.
    struct Report {
        std::vector<std::string> lines;
        bool imagesaved = true;
    };

    explicit ProgrammerPort(Setup setup);
    ~ProgrammerPort();
    ProgrammerPort(const ProgrammerPort&) = delete;
    ProgrammerPort& operator=(const ProgrammerPort&) = delete;

    Opened open(const Request& request);

    // The port the operations and the hardware check drive, and its line driver.
    SerialPort& port() { return stoppable_; }
    LineDriver& driver() { return driver_; }
    // Which port is in use, for the operations' "port not ready" text.
    const PortState& state() const { return state_; }
    bool ready() const;
    // The status text of a command refused while the port is not ready: "Serial port 3 error!"
    // or "FTDI cable error!".
    std::string porterror() const;

    // After a model change: a simulated chip of the model's family gets one of the new model's
    // (the old one's memory saved to the image first, the new one starting from it, behind the
    // same cable); a chip the port names, and a real one, stay as they are. A message for the
    // user, empty when none.
    std::string modelchanged();

    // An operation, or the hardware check, starts: the simulated chip's report gives the times of
    // what it found wrong from here on. Opening the port marks the start too.
    void markstart();
    // Also saves the simulated chip's image.
    Report report();
    // Sends what a cable still holds and hands its lines back, then closes what is open. The
    // destructor closes too, and saves the simulated chip's image.
    void close();

    // "Change Serial Port Number": its prompt, the answer proposed, and the answer's effect. A
    // port number leaves a port of the run for the serial port.
    std::string prompt() const { return portprompt(state_); }
    int32_t proposedport() const;
    void changeport(std::string_view answer);

  private:
    Opened openserial(const PortSpec& spec);
    Opened opensim(const PortSpec& spec);
    Opened opencable(const PortSpec& spec);
    // The port the operations drive from now on, and how long each line change is held.
    void attach(SerialPort& port, int32_t holdtime);
    // The simulated chip of either simulated port; nullptr on the others.
    SimProgrammer* sim();
    // Closes a port of this run (what a cable holds goes out first) and goes back to the serial
    // port, which refuses every operation until it is opened.
    void closeportofrun();

    Setup setup_;
    std::unique_ptr<SerialPort> ownserial_;
    SerialPort* serial_;
    std::unique_ptr<SimProgrammer> sim_;
    std::unique_ptr<FtdiCable> cable_;
    StoppablePort stoppable_;
    LineDriver driver_;
    PortState state_;
    // The port of this run and what was asked with it, to open it again after a model change;
    // none on the settings' serial port.
    std::optional<PortSpec> runspec_;
    Request request_;
};

}  // namespace qm
