#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "link/portspec.h"
#include "cli/session.h"
#include "link/linedriver.h"
#include "link/serialport.h"

namespace qm {
class BitBangPort;
class FtdiTransport;
class PicChip;
class SimAdapter;
class SimFt232r;
class QtSerialPort;
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

    SerialPort& port();
    LineDriver& linedriver() { return *driver_; }
    int32_t portnumber() const { return portnumber_; }

    // After the command (also after a failure): closes a USB cable, shows what the simulated
    // chip (and cable) found wrong with the timing or the commands, and stores the chip's memory
    // in the image file. Returns an exit code.
    int finish(Session& session);

  private:
    int opensim(Session& session, const PortSpec& spec);
    int openftdisim(Session& session, const PortSpec& spec);
    int openftdi(Session& session, const PortSpec& spec);
    int openreal(Session& session, const PortSpec& spec);
    int openbitbang(Session& session, const std::string& serial, const std::string& shown,
                    const std::string& ready);
    // The simulated chip of the model's family on `clock`, with the memory of spec's image.
    int makesimchip(Session& session, const PortSpec& spec, Clock& clock);
    int loadimage(Session& session);
    int saveimage(Session& session);
    void reportchipevents(Session& session);
    void reportcablefaults(Session& session);

    std::unique_ptr<QtSerialPort> real_;
    std::unique_ptr<PicChip> chip_;
    std::unique_ptr<SimAdapter> sim_;
    std::unique_ptr<SimFt232r> simcable_;
    std::unique_ptr<FtdiTransport> transport_;
    // Declared after everything it drives, so that it is closed while they still exist.
    std::unique_ptr<BitBangPort> bitbang_;
    std::unique_ptr<LineDriver> driver_;
    std::string imagepath_;
    int32_t portnumber_ = 0;
    bool finished_ = false;
};

}  // namespace qm::cli
