#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

#include "host/clock.h"
#include "link/serialport.h"

namespace qm::test {

// Sits between a port's user and the simulated adapter, passes every call on, and keeps what
// reaches the adapter's pins compactly: each new state of RTS and DTR (2 * rts + dtr) and each
// byte sent (256 + byte), with the time of each entry when a clock is given. A line set to the
// level it already has is no new state: on the pins nothing happens.
class LineStateTap final : public SerialPort {
  public:
    explicit LineStateTap(SerialPort& inner, Clock* clock = nullptr)
        : clock(clock), inner_(inner) {}

    bool open(const std::string& name, int32_t baud) override { return inner_.open(name, baud); }
    void close() override { inner_.close(); }
    bool isopen() const override { return inner_.isopen(); }
    void setrts(bool on) override {
        inner_.setrts(on);
        rts_ = on;
        note(2 * rts_ + dtr_);
    }
    void setdtr(bool on) override {
        inner_.setdtr(on);
        dtr_ = on;
        note(2 * rts_ + dtr_);
    }
    bool dsr() override { return inner_.dsr(); }
    void sendbyte(uint8_t byte) override {
        inner_.sendbyte(byte);
        add(256 + byte);
    }
    bool failed() const override { return inner_.failed(); }
    std::string errortext() const override { return inner_.errortext(); }

    std::vector<int16_t> states;
    std::vector<std::chrono::microseconds> times;
    Clock* clock;

  private:
    void note(int state) {
        if (state == last_) return;
        last_ = state;
        add(state);
    }
    void add(int entry) {
        states.push_back(int16_t(entry));
        if (clock != nullptr) times.push_back(clock->now());
    }

    SerialPort& inner_;
    bool rts_ = false;
    bool dtr_ = false;
    int last_ = 0;  // a freshly opened port has both lines off
};

}  // namespace qm::test
