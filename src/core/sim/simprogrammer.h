#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "devices/activemodel.h"
#include "host/clock.h"
#include "link/ftdipins.h"
#include "link/serialport.h"
#include "sim/picchip.h"
#include "sim/simadapter.h"
#include "sim/simft232r.h"

namespace qm {

// The simulated adapter with a simulated chip in its socket, as a front end runs it for
// the port sim[=CHIP][:IMAGE], or behind a simulated FT232R USB cable wired as `cable` says for
// the port ftdisim[=CHIP][:IMAGE] (the front end drives the cable through a BitBangPort). The
// chip's memory can live in a HEX image file between runs, and what the chip (and the cable)
// found wrong with a script's timing or commands can be shown.
class SimProgrammer {
  public:
    // chipname: empty for a chip of the active model (a part the simulation does not know gets
    // the model's sizes and device ID), a part name of knownchipnames() for that part whatever
    // the model, or kEmptySocket for none at all: DATA IN then reads back DATA OUT.
    SimProgrammer(const ActiveModel& activemodel, Clock& clock, std::string_view chipname = {},
                  std::optional<FtdiPinMap> cable = std::nullopt);
    ~SimProgrammer();
    SimProgrammer(const SimProgrammer&) = delete;
    SimProgrammer& operator=(const SimProgrammer&) = delete;

    // Loads the image (when imagepath is not empty; a missing file is a new, erased chip, and
    // its folder must exist) and opens the adapter. Empty on success; when the image cannot be
    // used (an empty socket keeps no image), the message for the user: "The simulated chip's
    // image PATH cannot be used:" and the reason on a line of its own (CR LF).
    std::string open(const std::string& imagepath);

    // The adapter's port. Behind a cable the cable drives it; the program uses cable() instead.
    SerialPort& port() { return adapter_; }
    // The simulated cable, nullptr without one.
    SimFt232r* cable() { return cable_.get(); }
    // The chip in the socket; only when there is one.
    bool haschip() const { return chip_ != nullptr; }
    PicChip& chip() { return *chip_; }
    const std::string& imagepath() const { return imagepath_; }

    // "Simulated adapter" or "Simulated FT232R cable", as the status line names the port.
    std::string name() const;
    // "Simulated adapter ready... (chip 16F628A)", with ", image PATH" when there is one, or
    // "(no chip)" for an empty socket; `more`, when given, ends the parenthesis after a comma.
    std::string statustext(const std::string& more = {}) const;

    // Stores the chip's memory in the image file, when there is one and the chip has changed
    // since the image was loaded or last saved (a new image is written only once a run changed
    // the chip). Empty when all is saved; on failure, when the old image stays whole, the
    // sentence that says so: "The simulated chip's image PATH was not saved: reason".
    std::string saveimage();

    // The start of an operation, or of anything else whose faults are reported together: the
    // fault lines give their times from here. Opening marks it too.
    void markstart();

    // What the chip logged as faults (violated timing, ignored, unknown or incomplete commands)
    // since the last call, one line each with its time from the start ("Simulated chip at 2.1 ms:
    // unknown command 01h at 2007h"), at most maxlines and then a line counting the rest.
    // The log is cleared, so each call reports only what is new. A supply left on by the last run
    // is reported too, and so is what a cable saw since the last call that a real one would
    // hide: line states shorter than the chip's setup and hold time, pulses on TD in bit-bang
    // mode.
    std::vector<std::string> takefaults(int maxlines);

  private:
    bool loadimage(const std::string& imagepath, std::string& why);
    void takecablefaults(std::vector<std::string>& lines);

    SimAdapter adapter_;
    std::unique_ptr<SimFt232r> cable_;
    // The time the chip sees: behind a cable, the cable's line time.
    Clock& chipclock_;
    std::unique_ptr<PicChip> chip_;
    std::chrono::microseconds start_{0};
    std::string imagepath_;
    // The image as loaded or last saved (for a new image, the erased chip's), to tell whether a
    // run changed the chip.
    std::string imageloaded_;
    // The cable's counts already reported.
    int64_t shortstates_ = 0;
    int64_t txdpulses_ = 0;
};

}  // namespace qm
