#include "link/bitbangport.h"

#include <array>

namespace qm {

BitBangPort::BitBangPort(FtdiTransport& transport, FtdiPinMap pins)
    : transport_(transport), pins_(pins) {}

BitBangPort::~BitBangPort() { close(); }

int32_t BitBangPort::holdbytes(int32_t holdus) {
    const int64_t us = holdus > kMinHoldUs ? holdus : kMinHoldUs;
    return int32_t((us * kBitBangRate + 999999) / 1000000);
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
    latchknown_ = false;
    // Straight into bit-bang mode, whatever mode the chip was left in: the latch is loaded with
    // the pins as inputs, so a standard cable's lines stay off throughout.
    if (!enterbitbang()) {
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

// The UART's RTS# and DTR# outputs are set to what the lines show now before the mode changes, so
// leaving bit-bang mode changes nothing on them.
bool BitBangPort::leavebitbang() {
    const FtdiPinMap::UartLines uart = pins_.uartlines(rts_, dtr_);
    return checked(transport_.setmodemlines(uart.rts, uart.dtr)) &&
           checked(transport_.setuart(baud_));
}

// On entering bit-bang mode the outputs show the chip's output latch. When the latch may hold
// anything else than the current states (after opening), it is loaded first with every pin an
// input: the pins then rest on the FT232R's pull-ups, the levels the UART leaves them at when
// idle, which on a standard cable are TXD at mark and RTS and DTR off [the pull-ups are in the
// data sheet; that the latch keeps its byte across the mode change is not checked on a cable].
// Loading it with the outputs on would drive the unknown byte for a round trip. A cable whose
// lines are asserted by high pins rests with them on, and they go off when the outputs come on.
bool BitBangPort::enterbitbang() {
    const uint8_t state = pins_.encode(rts_, dtr_);
    if (!latchknown_ || latch_ != state) {
        std::array<uint8_t, 1> byte{state};
        std::array<uint8_t, 1> sample{};
        if (!checked(transport_.setbitbang(0, kBitBangRate)) ||
            !checked(transport_.exchange(byte, sample))) {
            return false;
        }
        latch_ = state;
        latchknown_ = true;
        ++pinbytes_;
    }
    return checked(transport_.setbitbang(pins_.outputmask(), kBitBangRate));
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

// The sample of a byte is taken just before the byte is written, so it shows the byte before:
// the same state, since a read never comes right after a change is queued without that change's
// own bytes. Either way round the sample sees this state.
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
    if (ok) {
        pinbytes_ += int64_t(out_.size());
        latch_ = out_.back();
        latchknown_ = true;
    }
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
// sent and waited for, and bit-bang mode resumes with the same states. That costs a handful of
// round trips, a few times per chip operation.
void BitBangPort::sendbyte(uint8_t byte) {
    if (!usable()) return;
    if (!flush()) return;
    if (!leavebitbang()) return;
    if (!checked(transport_.senduart(byte))) return;
    enterbitbang();
}

}  // namespace qm
