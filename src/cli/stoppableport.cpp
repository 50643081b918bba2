#include "cli/stoppableport.h"

#include <signal.h>

#include <utility>

namespace qm::cli {

StoppablePort::StoppablePort(SerialPort& port, std::function<int()> stopsignal)
    : port_(port), stopsignal_(std::move(stopsignal)) {}

bool StoppablePort::stopped() {
    if (stopped_) return true;
    if (stopsignal_() == 0) return false;
    stopped_ = true;
    // A command cut off in its middle is harmless once the power is off; the lines are brought
    // low first, so the chip is not fed through them.
    port_.setrts(false);
    port_.setdtr(false);
    return true;
}

void StoppablePort::setrts(bool on) {
    if (!stopped()) port_.setrts(on);
}

void StoppablePort::setdtr(bool on) {
    if (!stopped()) port_.setdtr(on);
}

bool StoppablePort::dsr() { return !stopped() && port_.dsr(); }

bool StoppablePort::failed() const { return stopsignal_() != 0 || port_.failed(); }

std::string StoppablePort::errortext() const {
    switch (stopsignal_()) {
        case 0:
            return port_.errortext();
        case SIGINT:
            return "interrupted by Ctrl-C (SIGINT)";
        case SIGTERM:
            return "stopped by SIGTERM";
        default:
            return "stopped by signal " + std::to_string(stopsignal_());
    }
}

}  // namespace qm::cli
