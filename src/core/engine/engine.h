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
        : host(host),
          port(port),
          linedriver(linedriver),
          activemodel(activemodel),
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
};

}  // namespace qm
