#include "link/bitbangport.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace qm {

namespace {

// The short burst of a measurement, and the first long one while the rate is unknown.
constexpr int32_t kShortBurst = 1;
constexpr int32_t kFirstLongBurst = 8;
constexpr int32_t kLongestBurst = 1 << 16;

// 1234567 as "1 234 567".
std::string grouped(int64_t value) {
    std::string digits = std::to_string(value);
    for (int at = int(digits.size()) - 3; at > 0; at -= 3) digits.insert(size_t(at), " ");
    return digits;
}

}  // namespace

BitBangPort::BitBangPort(FtdiTransport& transport, Clock& clock, FtdiPinMap pins)
    : transport_(transport), clock_(clock), pins_(pins) {}

BitBangPort::~BitBangPort() { close(); }

int32_t BitBangPort::askablerate(double rate) {
    // Four times the rate is 24 MHz / n, the rate 6 MHz / n: n = 8 is 3 MBd, n = 12 is 2 MBd.
    constexpr double kSixMhz = 6e6;
    int64_t n = rate > 0 ? int64_t(std::ceil(kSixMhz / rate)) : 16;
    if (n < 8) n = 8;
    if (n > 8 && n < 12) n = 12;
    if (n > 12 && n < 16) n = 16;
    return int32_t(int64_t(kSixMhz) / n);
}

int32_t BitBangPort::holdbytes(int32_t holdus) const {
    const double us = holdus > kMinHoldUs ? holdus : kMinHoldUs;
    const double bytes = std::ceil(us * pinrate_ * kRateMargin / 1e6);
    return bytes >= 1 ? int32_t(std::min(bytes, 1e9)) : 1;
}

std::string BitBangPort::pinratetext() const {
    return grouped(std::llround(pinrate_)) + " pin bytes/s";
}

bool BitBangPort::open(const std::string& name, int32_t baud) {
    if (open_) close();
    failed_ = false;
    error_.clear();
    if (baud <= 0) {
        error_ = "the baud rate " + std::to_string(baud) + " is not valid";
        return false;
    }
    if (!transport_.open(name)) {
        error_ = transport_.errortext();
        return false;
    }
    open_ = true;
    baud_ = baud;
    rts_ = false;
    dtr_ = false;
    pinrate_ = 0;
    askedrate_ = 0;
    if (!enterbitbang(true)) {
        const std::string why = error_;
        transport_.close();
        open_ = false;
        error_ = why;
        return false;
    }
    return true;
}

void BitBangPort::close() {
    if (!open_) return;
    if (usable()) {
        flush();
        if (usable()) leavebitbang();
    }
    transport_.close();
    open_ = false;
    out_.clear();
    samplepos_.clear();
}

bool BitBangPort::checked(bool ok) {
    if (!ok && !failed_) {
        failed_ = true;
        const std::string why = transport_.errortext();
        error_ = "the FTDI cable failed: " + (why.empty() ? std::string("no answer") : why);
    }
    return ok;
}

bool BitBangPort::refuse(const std::string& why) {
    error_ = why;
    return false;
}

// The UART's RTS# and DTR# outputs are set to what the lines show now before the mode changes, so
// leaving bit-bang mode changes nothing on them.
bool BitBangPort::leavebitbang() {
    const FtdiPinMap::UartLines uart = pins_.uartlines(rts_, dtr_);
    return checked(transport_.setmodemlines(uart.rts, uart.dtr)) &&
           checked(transport_.setuart(baud_));
}

// Outputs show the chip's output latch, and whether the latch keeps its byte across a mode
// change or is cleared on entering bit-bang mode is not known for certain. So the pins are
// handed over in three steps, every time: bit-bang mode with only the pins whose level cannot
// move as outputs, one byte of the current states loaded into the latch, then every output on.
//
// On opening nothing is known of the levels before, and every pin is an input: the pins rest on
// the FT232R's pull-ups, the levels the UART leaves them at when idle, which on a standard cable
// are TXD at mark and RTS and DTR off [the pull-ups are in the data sheet]. A cable whose lines
// are asserted by high pins rests with them on, and they go off when the outputs come on.
//
// After a UART visit the UART drives the current states. A pin it holds high rests on its
// pull-up as an input; a pin it holds low would rise as an input for the latch load's round
// trip, so it is driven from the latch from the start: low whether the latch kept the last byte
// of bit-bang mode (the same states) or was cleared.
bool BitBangPort::enterbitbang(bool opening) {
    const uint8_t state = pins_.encode(rts_, dtr_);
    const uint8_t first = opening ? uint8_t(0) : uint8_t(pins_.outputmask() & ~state);
    const int32_t rate = opening ? kProbeRate : askedrate_;
    std::array<uint8_t, 1> byte{state};
    std::array<uint8_t, 1> sample{};
    if (!checked(transport_.setbitbang(first, rate)) ||
        !checked(transport_.exchange(byte, sample))) {
        return false;
    }
    if (opening && !measure()) return false;
    return checked(transport_.setoutputs(pins_.outputmask()));
}

// Measured with the pins as they are when it runs (on opening: every pin an input), so nothing
// moves on the lines. The rate asked for at first is low enough for the pins never to wait for
// the PC under any reading; the ratio of what they did to what was asked tells the reading, and
// the rate then asked puts the pins near kTargetRate under it. That rate is not timed again: at
// that speed the pins wait for the PC between packets of samples, so a burst would show the
// PC's pace, slower than the pins' own, and holds derived from it would come out too short.
bool BitBangPort::measure() {
    askedrate_ = kProbeRate;
    const double proberate = burstrate(kFirstLongBurst);
    if (failed_) return false;
    const double factor = proberate / kProbeRate;
    if (!(factor >= kMinPlausibleFactor && factor <= kMaxPlausibleFactor)) {
        return refuse("the FT232R's pins ran at " +
                      grouped(std::llround(std::min(proberate, 1e12))) +
                      " bytes/s for a bit-bang rate of " + grouped(kProbeRate) +
                      ", which no FT232R does; its timing cannot be trusted");
    }
    askedrate_ = std::max(askablerate(kTargetRate / factor), kProbeRate);
    pinrate_ = factor * askedrate_;
    return checked(transport_.setbitbang(0, askedrate_));
}

// The difference of a long and a short burst leaves out the round trip both take. Each is timed
// twice, and the longer of the short ones and the shorter of the long ones are taken, so that a
// round trip that happened to take longer makes the rate come out higher, never lower.
double BitBangPort::burstrate(int32_t longbytes) {
    int64_t shortus = bursttime(kShortBurst);
    int64_t longus = bursttime(longbytes);
    while (shortus >= 0 && longus >= 0 && longus - shortus < kMeasureUs &&
           longbytes < kLongestBurst) {
        longbytes *= 2;
        longus = bursttime(longbytes);
    }
    shortus = std::max(shortus, bursttime(kShortBurst));
    const int64_t again = bursttime(longbytes);
    longus = again >= 0 ? std::min(longus, again) : -1;
    if (shortus < 0 || longus < 0) return 0;
    if (longus <= shortus) return std::numeric_limits<double>::infinity();
    return double(longbytes - kShortBurst) * 1e6 / double(longus - shortus);
}

int64_t BitBangPort::bursttime(int32_t bytes) {
    out_.assign(size_t(bytes), pins_.encode(rts_, dtr_));
    in_.resize(out_.size());
    const auto start = clock_.now();
    const bool ok = checked(transport_.exchange(out_, in_));
    const auto end = clock_.now();
    out_.clear();
    if (!ok) return -1;
    return (end - start).count();
}

void BitBangPort::queuestate(int32_t holdus) {
    out_.insert(out_.end(), size_t(holdbytes(holdus)), pins_.encode(rts_, dtr_));
    if (samplepos_.empty() && out_.size() >= kMaxQueuedBytes) flush();
}

void BitBangPort::queuerts(bool on, int32_t holdus) {
    if (!usable()) return;
    rts_ = on;
    queuestate(holdus);
}

void BitBangPort::queuedtr(bool on, int32_t holdus) {
    if (!usable()) return;
    dtr_ = on;
    queuestate(holdus);
}

void BitBangPort::queuehold(int32_t holdus) {
    if (!usable()) return;
    queuestate(holdus);
}

// The sample of a byte is taken just before the byte is written, so it shows the byte before:
// the same state, since a read never comes right after a change is queued without that change's
// own bytes, which last at least the chip's setup and hold time. So DATA IN is sampled that long
// after CLOCK rose, and the second sample one byte later.
int32_t BitBangPort::queuedsr() {
    if (!usable()) return int32_t(samplepos_.size());
    samplepos_.push_back(out_.size());
    out_.push_back(pins_.encode(rts_, dtr_));
    return int32_t(samplepos_.size() - 1);
}

bool BitBangPort::flush() {
    if (!usable()) {
        out_.clear();
        samplepos_.clear();
        reads_.clear();
        return false;
    }
    if (out_.empty()) return true;
    in_.resize(out_.size());
    const bool ok = checked(transport_.exchange(out_, in_));
    reads_.clear();
    for (const size_t pos : samplepos_) reads_.push_back(ok && pins_.dsrof(in_[pos]));
    out_.clear();
    samplepos_.clear();
    return ok;
}

bool BitBangPort::dsrread(int32_t n) const {
    return n >= 0 && size_t(n) < reads_.size() && reads_[size_t(n)];
}

void BitBangPort::setrts(bool on) {
    if (!usable()) return;
    flush();
    queuerts(on, 0);
    flush();
}

void BitBangPort::setdtr(bool on) {
    if (!usable()) return;
    flush();
    queuedtr(on, 0);
    flush();
}

bool BitBangPort::dsr() {
    if (!usable()) return false;
    flush();
    const int32_t n = queuedsr();
    return flush() && dsrread(n);
}

// The adapter toggles its supply on a 01h frame on TD, at the port's baud rate. The frame could
// be drawn on D0 in bit-bang mode, but its bit times would then rest on how exactly the bit-bang
// clock runs and on the USB stream not stalling mid-frame. The chip's own UART sends it exactly,
// so bit-bang mode is left for it: the UART's RTS# and DTR# keep the lines' levels, the byte is
// sent and waited for, and bit-bang mode resumes as on opening. That costs a handful of round
// trips, a few times per chip operation.
void BitBangPort::sendbyte(uint8_t byte) {
    if (!usable()) return;
    if (!flush()) return;
    if (!leavebitbang()) return;
    if (!checked(transport_.senduart(byte))) return;
    enterbitbang(false);
}

}  // namespace qm
