#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "buffer/progbuffer.h"
#include "devices/activemodel.h"
#include "engine/chipoperations.h"
#include "engine/engine.h"
#include "host/host.h"
#include "link/linedriver.h"
#include "link/portselect.h"
#include "link/portspec.h"
#include "settings/settingsstore.h"

namespace qm {
class SimProgrammer;
}

namespace qm::gui {

// The main window's programmer port and the engine that runs scripts on it: the serial port of
// the settings (probed and opened at load, changed through "Change Serial Port Number"), or for
// one run a port the command line names, including the simulated adapter with its chip.
class Programmer {
  public:
    // realport: the serial port back-end; nullptr makes a QtSerialPort.
    Programmer(Host& host, SettingsStore& settings, const ActiveModel& activemodel,
               ProgBuffer& progbuffer, Clock& clock, SerialPort* realport);
    ~Programmer();
    Programmer(const Programmer&) = delete;
    Programmer& operator=(const Programmer&) = delete;

    // At load: probes COM1..COM16, then opens the saved port, or the one `spec` names for this
    // run (nothing about it is saved). Returns a message for an error box, empty when none.
    std::string load(const std::optional<PortSpec>& spec);

    // "Change Serial Port Number": the prompt, the proposed answer, and the answer's effect. A
    // port number leaves the simulated adapter for the real port.
    std::string prompt() const { return portprompt(state_); }
    int32_t proposedport() const;
    void changeport(std::string_view answer);

    bool ready() const;
    int32_t portnumber() const { return state_.portnumber; }
    bool simulated() const { return sim_ != nullptr; }

    OperationResult run(Operation operation);
    // After an operation on the simulated chip: what it found wrong and whether its image could
    // be saved, as lines for a message box; empty when all is well.
    std::vector<std::string> simreport();
    // Before the program ends: the simulated chip's image is saved, the port closed.
    void shutdown();

  private:
    void attach(SerialPort& port, int32_t holdtime);

    Host& host_;
    SettingsStore& settings_;
    const ActiveModel& activemodel_;
    ProgBuffer& progbuffer_;
    Clock& clock_;
    std::unique_ptr<SerialPort> ownport_;
    SerialPort* realport_;
    std::unique_ptr<SimProgrammer> sim_;
    PortState state_;
    std::unique_ptr<LineDriver> driver_;
    std::unique_ptr<Engine> engine_;
};

}  // namespace qm::gui
