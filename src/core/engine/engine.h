#pragma once

#include <string>
#include <vector>

#include "buffer/progbuffer.h"
#include "devices/activemodel.h"
#include "devices/devicemodel.h"
#include "engine/algstate.h"
#include "engine/mismatchreport.h"
#include "host/host.h"
#include "link/linedriver.h"
#include "link/serialport.h"

namespace qm {

// Everything a script run touches: the program's single host, port, line driver, active model
// and buffer (owned elsewhere), and the engine's own state, which lives as long as the program.
struct Engine {
    Engine(Host& host, SerialPort& port, LineDriver& linedriver, const ActiveModel& activemodel,
           ProgBuffer& progbuffer)
        : host(host), port(port), linedriver(linedriver), activemodel(activemodel),
          progbuffer(progbuffer) {}

    Host& host;
    SerialPort& port;
    LineDriver& linedriver;
    const ActiveModel& activemodel;
    ProgBuffer& progbuffer;

    AlgState algstate;
    MismatchReport report;
    // Elapsed-time text of the last chip operation that ran to its end.
    std::string elapsedtext;

    // The device file the active model comes from, to name the model a chip's device ID belongs
    // to; nullptr when there is none to ask.
    const DeviceTable* devices = nullptr;
    // Whether the operations read the chip's device ID first (only for a model that has one).
    bool idcheck = true;
    // Whether the operations keep the model's calibration words (calibration.h). Off, Program
    // All writes the buffer's values there and the checks compare with the buffer.
    bool keepcalibration = true;
    // The chip's calibration words as the running Blank Check or Verify read them; the checks
    // expect them at their locations. Empty when no check runs with kept calibration.
    std::vector<int32_t> keptcalibration;
};

}  // namespace qm
