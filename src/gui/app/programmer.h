#pragma once

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
#include "link/portspec.h"
#include "settings/settingsstore.h"

namespace qm {
class FtdiCable;
class SimProgrammer;
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
    Programmer(Host& host, SettingsStore& settings, const DeviceTable& devices,
               const ActiveModel& activemodel, ProgBuffer& progbuffer, Clock& clock,
               SerialPort* realport);
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
    PortState state_;
    std::unique_ptr<LineDriver> driver_;
    std::unique_ptr<Engine> engine_;
};

}  // namespace qm::gui
