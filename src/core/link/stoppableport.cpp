#include "link/stoppableport.h"

#include <utility>

namespace qm {

StoppablePort::StoppablePort(SerialPort& port, std::function<std::string()> stopreason)
    : port_(&port), stopreason_(std::move(stopreason)) {}

bool StoppablePort::stopped() {
    if (stopped_) return true;
    if (stopreason_().empty()) return false;
    stopped_ = true;
    // A command cut off in its middle is harmless once the power is off; the lines are brought
    // low first, so the chip is not fed through them.
    port_->setrts(false);
    port_->setdtr(false);
    return true;
}

void StoppablePort::setrts(bool on) {
    if (!stopped()) port_->setrts(on);
}

void StoppablePort::setdtr(bool on) {
    if (!stopped()) port_->setdtr(on);
}

bool StoppablePort::dsr() { return !stopped() && port_->dsr(); }

bool StoppablePort::failed() const { return !stopreason_().empty() || port_->failed(); }

std::string StoppablePort::errortext() const {
    std::string reason = stopreason_();
    return reason.empty() ? port_->errortext() : reason;
}

}  // namespace qm
