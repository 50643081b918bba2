#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "cli/session.h"
#include "link/linedriver.h"
#include "link/serialport.h"
#include "platform/port/portspec.h"

namespace qm {
class FtdiCable;
class SimProgrammer;
class QtSerialPort;
class StoppablePort;
}  // namespace qm

namespace qm::cli {

// The programmer port of one chip command: a real serial port, an FT232R USB cable in bit-bang
// mode, or the simulated adapter with a simulated chip of the model's family (directly or behind
// a simulated FT232R cable), whose memory can live in a HEX image file between runs.
class ChipPort {
  public:
    ChipPort();
    ~ChipPort();
    ChipPort(const ChipPort&) = delete;
    ChipPort& operator=(const ChipPort&) = delete;

    // Opens the port of --port, or the one saved under "Serial Port Number", at the baud rate
    // of --baud or "Serial Port Baud Rate", reports it on the status line, and sets up the line
    // driver with the hold time of --hold-us or "Line Hold Time". Returns an exit code.
    int open(Session& session);

    // The opened port as the line driver uses it: a signal asking to stop stops it (StopSignals).
    SerialPort& port();
    LineDriver& linedriver() { return *driver_; }
    int32_t portnumber() const { return portnumber_; }

    // After the command (also after a failure): closes a USB cable, shows what the simulated
    // chip (and cable) found wrong with the timing or the commands, and stores the chip's memory
    // in the image file when the run changed it or the file is new. Returns an exit code.
    int finish(Session& session);

  private:
    int opensim(Session& session, const PortSpec& spec);
    int opencable(Session& session, const PortSpec& spec);
    int openreal(Session& session, const PortSpec& spec);
    // Wraps the opened back-end so that a stop signal ends the operation.
    SerialPort& stoppable(SerialPort& port);
    // The simulated chip of either simulated port; nullptr on real ones.
    SimProgrammer* sim();

    std::unique_ptr<QtSerialPort> real_;
    std::unique_ptr<SimProgrammer> sim_;
    std::unique_ptr<FtdiCable> cable_;
    std::unique_ptr<StoppablePort> stoppable_;
    std::unique_ptr<LineDriver> driver_;
    int32_t portnumber_ = 0;
    bool finished_ = false;
};

}  // namespace qm::cli
