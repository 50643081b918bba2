#include "sim/simft232r.h"

namespace qm {

namespace {

// The chip's setup and hold time around a CLOCK edge, the shortest a line state may last.
constexpr int64_t kSetupHoldUs = 1;
constexpr int64_t kNsPerSecond = 1000000000;
// A UART frame: start bit, 8 data bits, stop bit.
constexpr int64_t kFrameBits = 10;

// Requests each transport call makes, as the libftdi transport makes them.
constexpr int kModemLinesRequests = 1;
constexpr int kBitBangRequests = 3;
constexpr int kOutputsRequests = 1;
constexpr int kUartRequests = 2;
constexpr int kSendUartRequests = 2;

}  // namespace

SimFt232r::SimFt232r(SerialPort& adapter, Clock& clock, FtdiPinMap pins)
    : adapter_(adapter), lineclock_(clock), map_(pins) {}

bool SimFt232r::open(const std::string& serial) {
    if (unplugged_) {
        error_ = "no FT232R found";
        return false;
    }
    if (!serial.empty() && serial != kSerial) {
        error_ = "no FT232R with serial number " + serial;
        return false;
    }
    open_ = true;
    error_.clear();
    showpins();
    return true;
}

void SimFt232r::close() { open_ = false; }

bool SimFt232r::roundtrip() {
    if (!open_) {
        error_ = "the device is not open";
        return false;
    }
    if (countdown_ == 0) {
        unplugged_ = true;
        countdown_ = -1;
    }
    if (unplugged_) {
        error_ = "the device was unplugged";
        return false;
    }
    if (countdown_ > 0) --countdown_;
    ++roundtrips_;
    return true;
}

uint8_t SimFt232r::pins() const {
    // Inputs rest on the chip's pull-ups; so does TXD, idle, in UART mode.
    if (bitbang_) return uint8_t((latch_ & outputs_) | (~outputs_ & 0xFF));
    uint8_t pins = 0xFF;
    if (uartrts_) pins &= uint8_t(~0x04);
    if (uartdtr_) pins &= uint8_t(~0x10);
    return pins;
}

bool SimFt232r::showpins() {
    const uint8_t now = pins();
    bool changed = false;
    if (const bool rts = map_.rtsof(now); rts != rts_) {
        rts_ = rts;
        adapter_.setrts(rts);
        changed = true;
    }
    if (const bool dtr = map_.dtrof(now); dtr != dtr_) {
        dtr_ = dtr;
        adapter_.setdtr(dtr);
        changed = true;
    }
    if (const bool txd = map_.txdidle(now); txd != txd_) {
        txd_ = txd;
        if (!txd && bitbang_) ++txdpulses_;
        changed = true;
    }
    return changed;
}

// One pin byte in bit-bang mode: a line state that ends after less than the setup and hold time
// is counted. A state that was there before bit-bang mode began is long enough.
void SimFt232r::writepins(uint8_t byte) {
    latch_ = byte;
    if (showpins()) {
        if (runbytes_ >= 0 && runbytes_ * 1000000 < int64_t(rate_) * kSetupHoldUs) ++shortstates_;
        runbytes_ = 0;
    }
    if (runbytes_ >= 0) ++runbytes_;
}

bool SimFt232r::setmodemlines(bool rts, bool dtr) {
    if (!roundtrip()) return false;
    uartrts_ = rts;
    uartdtr_ = dtr;
    showpins();
    return true;
}

bool SimFt232r::requests(int count, int32_t rate, const char* what) {
    for (int i = 0; i < count; ++i)
        if (!roundtrip()) return false;
    if (rate > 0) return true;
    error_ = std::string(what) + " " + std::to_string(rate) + " is not valid";
    return false;
}

bool SimFt232r::setbitbang(uint8_t outputs, int32_t rate) {
    if (!requests(kBitBangRequests, rate, "the bit-bang rate")) return false;
    bitbang_ = true;
    outputs_ = outputs;
    rate_ = rate;
    runbytes_ = -1;
    showpins();
    return true;
}

bool SimFt232r::setoutputs(uint8_t outputs) {
    if (!requests(kOutputsRequests, 1, "")) return false;
    if (!bitbang_) {
        error_ = "the direction of the pins changes only in bit-bang mode";
        return false;
    }
    outputs_ = outputs;
    showpins();
    return true;
}

bool SimFt232r::setuart(int32_t baud) {
    if (!requests(kUartRequests, baud, "the baud rate")) return false;
    bitbang_ = false;
    baud_ = baud;
    showpins();
    return true;
}

bool SimFt232r::exchange(std::span<const uint8_t> out, std::span<uint8_t> in) {
    if (!roundtrip()) return false;
    if (in.size() != out.size()) {
        error_ = "a transfer must read back as many bytes as it writes";
        return false;
    }
    if (!bitbang_) {
        // The UART would send the bytes as frames, and nothing would come back.
        error_ = "no samples came back: the chip is not in bit-bang mode";
        return false;
    }
    const uint8_t dsrbit = uint8_t(1u << map_.dsr.pin);
    for (size_t i = 0; i < out.size(); ++i) {
        const int64_t ns = carryns_ + int64_t(i) * kNsPerSecond / rate_;
        lineclock_.setoffset(std::chrono::microseconds(ns / 1000));
        // Sampled just before the byte is written.
        uint8_t sample = pins();
        if ((outputs_ & dsrbit) == 0) {
            const bool high = adapter_.dsr() == map_.dsr.assertedhigh;
            sample = high ? uint8_t(sample | dsrbit) : uint8_t(sample & ~dsrbit);
        }
        in[i] = sample;
        writepins(out[i]);
    }
    const int64_t total = carryns_ + int64_t(out.size()) * kNsPerSecond / rate_;
    lineclock_.setoffset(std::chrono::microseconds(0));
    lineclock_.base().sleep(std::chrono::microseconds(total / 1000));
    carryns_ = total % 1000;
    pinbytes_ += int64_t(out.size());
    // A real transport refills the sample FIFO's room each time a packet of samples is back.
    const int64_t beyond = int64_t(out.size()) - kFt232rSampleFifo;
    if (beyond > 0) refills_ += (beyond + kFt232rPacketData - 1) / kFt232rPacketData;
    return true;
}

bool SimFt232r::senduart(uint8_t byte) {
    if (!requests(kSendUartRequests, baud_, "the baud rate")) return false;
    if (bitbang_) {
        // In bit-bang mode a written byte is a pin state, not a frame.
        writepins(byte);
        ++pinbytes_;
        return true;
    }
    frames_.push_back(Frame{byte, baud_, rts_, dtr_});
    lineclock_.base().sleep(std::chrono::microseconds((kFrameBits * 1000000 + baud_ - 1) / baud_));
    adapter_.sendbyte(byte);
    return true;
}

}  // namespace qm
