#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "buffer/progbuffer.h"
#include "devices/activemodel.h"
#include "devices/devicemodel.h"
#include "engine/chipoperations.h"
#include "engine/engine.h"
#include "host/host.h"
#include "link/ftdipins.h"
#include "link/linedriver.h"
#include "link/portselect.h"
#include "platform/port/portspec.h"
#include "settings/settingsstore.h"

namespace qm {
class FtdiCable;
class SimProgrammer;
class StoppablePort;
}  // namespace qm

namespace qm::gui {

// The main window's programmer port and the engine that runs scripts on it: the serial port of
// the settings (probed and opened at load, changed through "Change Serial Port Number"), or for
// one run a port the command line names, including the simulated adapter with its chip and
// FT232R USB cables (real or simulated) in bit-bang mode.
class Programmer {
  public:
    // realport: the serial port back-end; nullptr makes a QtSerialPort. devices: the device
    // file, whose models name a chip found by the device ID check.
    // stopreason: why operations are to stop (a signal asked the program to end), empty while
    // nothing asks; every port is driven through it (StoppablePort).
    Programmer(Host& host, SettingsStore& settings, const DeviceTable& devices,
               const ActiveModel& activemodel, ProgBuffer& progbuffer, Clock& clock,
               SerialPort* realport, std::function<std::string()> stopreason = {});
    ~Programmer();
    Programmer(const Programmer&) = delete;
    Programmer& operator=(const Programmer&) = delete;

    // At load: probes COM1..COM16, then opens the saved port, or the one `spec` names for this
    // run (nothing about it is saved; an FT232R cable is wired as `pins` says). Returns a
    // message for an error box, empty when none.
    std::string load(const std::optional<PortSpec>& spec, const FtdiPinMap& pins = {});

    // "Change Serial Port Number": the prompt, the proposed answer, and the answer's effect. A
    // port number leaves the simulated adapter or a cable for the real port.
    std::string prompt() const { return portprompt(state_); }
    int32_t proposedport() const;
    void changeport(std::string_view answer);

    bool ready() const;
    int32_t portnumber() const { return state_.portnumber; }
    bool simulated() const;
    // The status text when the port is not usable: a port of this run by its name ("FTDI cable
    // error!", "Simulated adapter error!"), else the serial port by its number.
    std::string porterror() const;
    // The line driver on the port in use, for the hardware check.
    LineDriver& driver() { return *driver_; }

    // After a model change. When the socket of a simulated port (sim or ftdisim) holds a chip
    // of the model's family, it gets one of the new model's: the old chip's memory goes to the
    // image first, and the new chip starts from the image under the same checks as at load,
    // behind the same cable. A chip the port names (sim=CHIP, sim=none) stays as it is, and so
    // does a real chip. Returns a message for an error box, empty when none.
    std::string modelchanged();

    // Runs the operation; on a port of this run that is not usable, says so on the status line
    // by that port's name ("FTDI cable error!").
    OperationResult run(Operation operation);
    // After an operation on the simulated chip: what it found wrong and whether its image could
    // be saved, as lines for a message box; empty when all is well.
    std::vector<std::string> simreport();
    // Before the program ends: the simulated chip's image is saved, the port closed.
    void shutdown();

  private:
    void attach(SerialPort& port, int32_t holdtime);
    std::string opensim(const PortSpec& spec);
    std::string opencable(const PortSpec& spec, const FtdiPinMap& pins);
    // The simulated chip of either simulated port, nullptr on the others.
    SimProgrammer* simchip();
    // Closes a port of this run and attaches the closed real port, which refuses every
    // operation, so nothing drives what is gone; the simulated chip's image is not saved here.
    void closeportofrun();
    // Back to the real port from a port of this run: the simulated chip keeps its image.
    void leaveportofrun();

    Host& host_;
    SettingsStore& settings_;
    const DeviceTable& devices_;
    const ActiveModel& activemodel_;
    ProgBuffer& progbuffer_;
    Clock& clock_;
    std::unique_ptr<SerialPort> ownport_;
    SerialPort* realport_;
    std::unique_ptr<SimProgrammer> sim_;
    std::unique_ptr<FtdiCable> cable_;
    // The port of this run as the status line names it; empty on the settings' port.
    std::string runportname_;
    // The port of this run as the command line gave it, and the cable's wiring, to build a
    // simulated chip again after a model change.
    std::optional<PortSpec> runspec_;
    FtdiPinMap runpins_;
    PortState state_;
    std::function<std::string()> stopreason_;
    std::unique_ptr<StoppablePort> stoppable_;
    std::unique_ptr<LineDriver> driver_;
    std::unique_ptr<Engine> engine_;
};

}  // namespace qm::gui
