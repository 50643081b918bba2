#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "devices/activemodel.h"
#include "host/clock.h"
#include "link/ftdipins.h"
#include "link/serialport.h"
#include "platform/port/portspec.h"

namespace qm {

class BitBangPort;
class FtdiTransport;
class SimProgrammer;

// The programmer port on an FT232R USB cable in bit-bang mode, opened the same way by both front
// ends: a real cable for the port ftdi[:SERIAL] (through libftdi1, when the build has it), or
// a simulated one with the simulated adapter and chip behind it for ftdisim[=CHIP][:IMAGE].
class FtdiCable {
  public:
    FtdiCable();
    ~FtdiCable();
    FtdiCable(const FtdiCable&) = delete;
    FtdiCable& operator=(const FtdiCable&) = delete;

    // What opening gave: the status line's text, and after a failure the message for the user
    // (CR LF between its lines).
    struct Opened {
        bool ok = false;
        std::string status;
        std::string message;
    };

    // Opens the cable the port's text names (Kind::Ftdi or Kind::FtdiSim), wired as `pins`,
    // with the supply toggle frame at `baud`, and measures its bit-bang rate on `clock`; the
    // status names the rate ("FTDI cable ready... (bit-bang rate measured: 849 558 pin
    // bytes/s)", a simulated cable's after its chip), and a rate no FT232R has is refused with
    // the open failure message. A simulated cable gets the simulated chip the port value names
    // (one of the active model's family when it names none) on `clock`, its memory in the image
    // file it names.
    Opened open(const PortSpec& spec, const FtdiPinMap& pins, int32_t baud,
                const ActiveModel& activemodel, Clock& clock);

    // "FTDI cable", "FTDI cable SERIAL" or "Simulated FT232R cable", as the status line names it.
    const std::string& name() const { return name_; }
    // The bit-bang port; only after open.
    SerialPort& port();
    // The simulated adapter and chip behind a simulated cable; nullptr on a real one.
    SimProgrammer* sim() { return sim_.get(); }
    const SimProgrammer* sim() const { return sim_.get(); }

    // Sends what is still queued and hands the lines back to the cable's UART as they stand.
    void close();

  private:
    Opened failed(std::string message);

    std::string name_;
    std::unique_ptr<FtdiTransport> transport_;
    std::unique_ptr<SimProgrammer> sim_;
    // Declared after everything it drives, so that it is closed while they still exist.
    std::unique_ptr<BitBangPort> bitbang_;
};

}  // namespace qm
