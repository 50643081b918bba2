#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "link/serialport.h"

namespace qm {

// The programmer port of a run, stoppable from outside (a signal asking the program to stop).
// Once asked, the port counts as failed, so the interpreter ends the run after the current
// instruction and switches the supply off if the script had switched it on; the rest of that
// instruction's line changes are dropped, after CLOCK and DATA OUT have been brought low (on a
// batching port, a word transfer queued before the stop was seen still goes out whole). The
// supply toggle byte always passes, so the power can go off.
class StoppablePort final : public SerialPort {
  public:
    // stopreason gives why the run is to stop, as a phrase that completes "Operation failed:
    // ..."; empty while nothing asks it to.
    StoppablePort(SerialPort& port, std::function<std::string()> stopreason);

    bool open(const std::string& name, int32_t baud) override { return port_->open(name, baud); }
    void close() override { port_->close(); }
    bool isopen() const override { return port_->isopen(); }

    void setrts(bool on) override;
    void setdtr(bool on) override;
    bool dsr() override;
    void sendbyte(uint8_t byte) override { port_->sendbyte(byte); }
    // Whole transfers go to a batching port's queue until the stop is seen; from then on every
    // change comes here one at a time, and is dropped.
    LineBatch* linebatch() override { return stopped() ? nullptr : port_->linebatch(); }

    bool failed() const override;
    std::string errortext() const override;

    // Wraps another port from now on (the port of the run changed), no longer stopped.
    void retarget(SerialPort& port) {
        port_ = &port;
        stopped_ = false;
    }

  private:
    // Whether line changes have stopped; the first time, leaves CLOCK and DATA OUT low.
    bool stopped();

    SerialPort* port_;
    std::function<std::string()> stopreason_;
    bool stopped_ = false;
};

}  // namespace qm
