#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "link/serialport.h"

namespace qm::test {

// A SerialPort that decodes the adapter's bit stream into whole transfers, for tests of the
// interpreter's rules that need to see which command and data each instruction sent, without a
// whole simulated chip. Commands 00h, 02h and 03h are followed by a data word from the PC,
// 04h and 05h by a word from the chip (taken from `reads`, else `readfunction`, else 0).
class FakeChipPort final : public SerialPort {
  public:
    struct Transfer {
        int32_t command = 0;
        int32_t data = -1;  // -1 for a command without data
        bool read = false;
        bool operator==(const Transfer&) const = default;
    };

    bool open(const std::string&, int32_t) override { return open_ = true; }
    void close() override { open_ = false; }
    bool isopen() const override { return open_; }

    void setrts(bool on) override {
        countop();
        if (rts_ && !on) fallingedge();
        rts_ = on;
    }
    void setdtr(bool on) override {
        countop();
        dtr_ = on;
    }
    bool dsr() override {
        if (phase_ != Phase::Read) return false;
        const int bit = datafalls_ - 1;
        return bit >= 0 && bit < 14 && ((readvalue_ >> bit) & 1) != 0;
    }
    void sendbyte(uint8_t byte) override {
        countop();
        if (byte == 0x01) ++toggles;
    }

    bool failed() const override { return failed_; }
    std::string errortext() const override { return failed_ ? "the adapter was unplugged" : ""; }

    // Fails the port once this many line operations have been made (0 = never).
    int64_t failafter = 0;
    int64_t lineops = 0;
    // Line operations attempted after the failure: a run must stop making them.
    int64_t opsafterfailure = 0;

    int toggles = 0;
    std::vector<Transfer> transfers;
    std::deque<int32_t> reads;
    std::function<int32_t(int32_t command)> readfunction;

  private:
    enum class Phase { Command, Write, Read };

    void countop() {
        if (failed_) ++opsafterfailure;
        ++lineops;
        if (failafter > 0 && lineops >= failafter) failed_ = true;
    }

    static bool carriesdata(int32_t c) { return c == 0x00 || c == 0x02 || c == 0x03; }
    static bool readsdata(int32_t c) { return c == 0x04 || c == 0x05; }

    void fallingedge() {
        if (phase_ == Phase::Command) {
            if (dtr_) command_ |= 1 << commandbits_;
            if (++commandbits_ < 6) return;
            datafalls_ = 0;
            data_ = 0;
            if (carriesdata(command_)) {
                phase_ = Phase::Write;
            } else if (readsdata(command_)) {
                phase_ = Phase::Read;
                readvalue_ = nextread(command_);
            } else {
                finish(-1, false);
            }
            return;
        }
        ++datafalls_;
        // Falls 2..15 of the 16 framing clocks carry data bits 0..13.
        if (phase_ == Phase::Write && datafalls_ >= 2 && datafalls_ <= 15 && dtr_)
            data_ |= 1 << (datafalls_ - 2);
        if (datafalls_ == 16)
            finish(phase_ == Phase::Write ? data_ : readvalue_, phase_ == Phase::Read);
    }

    int32_t nextread(int32_t command) {
        if (!reads.empty()) {
            const int32_t v = reads.front();
            reads.pop_front();
            return v;
        }
        return readfunction ? readfunction(command) : 0;
    }

    void finish(int32_t data, bool read) {
        transfers.push_back({command_, data, read});
        phase_ = Phase::Command;
        command_ = 0;
        commandbits_ = 0;
    }

    bool open_ = true;
    bool failed_ = false;
    bool rts_ = false;
    bool dtr_ = false;
    Phase phase_ = Phase::Command;
    int32_t command_ = 0;
    int commandbits_ = 0;
    int datafalls_ = 0;
    int32_t data_ = 0;
    int32_t readvalue_ = 0;
};

}  // namespace qm::test
