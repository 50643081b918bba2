#pragma once

#include <vector>

#include "core/link/recordingport.h"
#include "core/testhost.h"
#include "devices/activemodel.h"
#include "link/linedriver.h"

namespace qm::test {

// A line driver on a recording port and a test host. Every yield leaves a Mark in the port's
// log, so the log shows line changes and yields in their true order.
struct DriverRig {
    DriverRig() {
        host.onyield = [this] { port.mark(); };
    }

    using Op = RecordingPort::Op;

    // The log reduced to (op, value) pairs, for comparing whole sequences.
    std::vector<std::pair<Op, int>> ops() const {
        std::vector<std::pair<Op, int>> out;
        for (const auto& e : port.events) out.emplace_back(e.op, e.value);
        return out;
    }

    TestHost host;
    RecordingPort port{&host.virtualclock()};
    ActiveModel model;
    LineDriver driver{port, host, model};
};

}  // namespace qm::test
