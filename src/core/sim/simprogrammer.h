#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "devices/activemodel.h"
#include "host/clock.h"
#include "link/serialport.h"
#include "sim/picchip.h"
#include "sim/simadapter.h"

namespace qm {

// The simulated adapter with a simulated chip in its socket, as a front end runs it for
// --port sim[=CHIP][:IMAGE]: the chip's memory can live in a HEX image file between runs, and
// what the chip found wrong with a script's timing or commands can be shown.
class SimProgrammer {
  public:
    // chipname: empty for a chip of the active model (a part the simulation does not know gets
    // the model's sizes and device ID), a part name of knownchipnames() for that part whatever
    // the model, or kEmptySocket for none at all: DATA IN then reads back DATA OUT.
    SimProgrammer(const ActiveModel& activemodel, Clock& clock, std::string_view chipname = {});

    // Loads the image (when imagepath is not empty; a missing file is a new, erased chip) and
    // opens the adapter. False, with the reason in why, when the image cannot be used (an empty
    // socket keeps no image).
    bool open(const std::string& imagepath, std::string& why);

    SerialPort& port() { return adapter_; }
    SimAdapter& adapter() { return adapter_; }
    // The chip in the socket; only when there is one.
    bool haschip() const { return chip_ != nullptr; }
    PicChip& chip() { return *chip_; }
    const std::string& imagepath() const { return imagepath_; }

    // "Simulated adapter ready... (chip 16F628A)", with ", image PATH" when there is one, or
    // "(no chip)" for an empty socket.
    std::string statustext() const;

    // Stores the chip's memory in the image file, when there is one and the chip has changed
    // since the image was loaded or last saved. False with a reason on failure; the old image
    // then stays whole.
    bool saveimage(std::string& why);

    // What the chip logged as faults (violated timing, ignored, unknown or incomplete commands)
    // since the last call, one line each, at most maxlines and then a line counting the rest.
    // The log is cleared, so each call reports only what is new. A supply left on by the last run
    // is reported too.
    std::vector<std::string> takefaults(int maxlines);

  private:
    std::unique_ptr<PicChip> chip_;
    SimAdapter adapter_;
    std::string imagepath_;
    // The image as loaded or last saved, to tell whether a run changed the chip; empty for a new
    // image, which is always written.
    std::string imageloaded_;
};

}  // namespace qm
