#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "host/clock.h"
#include "link/serialport.h"

namespace qm::test {

// A SerialPort that records every call in order, answers DSR from a script and refuses to open
// chosen device names. Header-only so any test can use it.
class RecordingPort final : public SerialPort {
  public:
    enum class Op { Open, Close, Rts, Dtr, Dsr, Byte, Mark };

    struct Event {
        int64_t seq = 0;  // 0, 1, 2 ... in call order
        Op op = Op::Mark;
        int32_t value = 0;  // new line state, DSR answer, byte sent, baud rate, or mark number
        std::string name;   // device name of Open
        std::chrono::microseconds time{0};  // clock time of the call when a clock is attached
    };

    // With a clock every event carries the time it happened.
    explicit RecordingPort(Clock* clock = nullptr) : clock_(clock) {}

    bool open(const std::string& name, int32_t baud) override {
        record(Op::Open, baud, name);
        if (open_ || unopenable.count(name) != 0) {
            error_ = open_ ? "already open" : "cannot open " + name;
            return false;
        }
        open_ = true;
        failed_ = false;
        error_.clear();
        openname = name;
        openbaud = baud;
        return true;
    }

    void close() override {
        record(Op::Close, 0);
        open_ = false;
    }

    bool isopen() const override { return open_; }

    void setrts(bool on) override {
        rts = on;
        record(Op::Rts, on ? 1 : 0);
    }

    void setdtr(bool on) override {
        dtr = on;
        record(Op::Dtr, on ? 1 : 0);
    }

    // Scripted answers first, then dsrfunction if set, then dsrdefault.
    bool dsr() override {
        bool value = dsrdefault;
        if (!dsrscript.empty()) {
            value = dsrscript.front();
            dsrscript.pop_front();
        } else if (dsrfunction) {
            value = dsrfunction();
        }
        record(Op::Dsr, value ? 1 : 0);
        return value;
    }

    void sendbyte(uint8_t byte) override {
        if (byte == 0x01) supplyon = !supplyon;
        record(Op::Byte, byte);
    }

    bool failed() const override { return failed_; }
    std::string errortext() const override { return error_; }

    // Puts the port into the failure state, as an unplugged adapter would.
    void fail(const std::string& why) {
        failed_ = true;
        error_ = why;
    }

    // Adds a marker to the log (e.g. from a host's yield hook).
    void mark(int32_t number = 0) { record(Op::Mark, number); }

    std::vector<Event> eventsof(Op op) const {
        std::vector<Event> out;
        for (const Event& e : events)
            if (e.op == op) out.push_back(e);
        return out;
    }

    // Events that change a line or send a byte: what the adapter sees.
    std::vector<Event> linechanges() const {
        std::vector<Event> out;
        for (const Event& e : events)
            if (e.op == Op::Rts || e.op == Op::Dtr || e.op == Op::Byte) out.push_back(e);
        return out;
    }

    std::vector<Event> events;
    std::set<std::string> unopenable;
    std::deque<bool> dsrscript;
    std::function<bool()> dsrfunction;
    bool dsrdefault = false;

    // Current state as the adapter would see it.
    bool rts = false;
    bool dtr = false;
    bool supplyon = false;
    std::string openname;
    int32_t openbaud = 0;

  private:
    void record(Op op, int32_t value, const std::string& name = {}) {
        Event e;
        e.seq = static_cast<int64_t>(events.size());
        e.op = op;
        e.value = value;
        e.name = name;
        if (clock_ != nullptr) e.time = clock_->now();
        events.push_back(e);
    }

    Clock* clock_ = nullptr;
    bool open_ = false;
    bool failed_ = false;
    std::string error_;
};

// DATA OUT as it stood at each falling CLOCK edge, in order: the bits a chip takes in.
inline std::vector<int> fallingedgebits(const std::vector<RecordingPort::Event>& events) {
    std::vector<int> bits;
    bool clock = false;
    bool data = false;
    for (const RecordingPort::Event& e : events) {
        if (e.op == RecordingPort::Op::Dtr) data = e.value != 0;
        if (e.op == RecordingPort::Op::Rts) {
            if (clock && e.value == 0) bits.push_back(data ? 1 : 0);
            clock = e.value != 0;
        }
    }
    return bits;
}

}  // namespace qm::test
