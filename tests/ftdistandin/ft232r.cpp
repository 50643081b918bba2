#include "ftdistandin/ft232r.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "sim/chipfamily.h"

namespace qm::standin {

namespace {

constexpr int64_t kLongAgo = std::numeric_limits<int64_t>::min() / 4;
constexpr int64_t kNever = std::numeric_limits<int64_t>::max() / 4;
// The chip's setup and hold time: the shortest a line state may last.
constexpr int64_t kSetupHoldNs = 1000;
// DATA IN shows a change this long after it happens.
constexpr int64_t kSettleNs = 1000;
constexpr int64_t kPacketNs = 50000;
constexpr size_t kPacketSize = 64;
constexpr size_t kPacketData = 62;
constexpr double kFastestRate = 3e6;
constexpr int64_t kFrameBits = 10;
constexpr uint8_t kModeReset = 0x00;

}  // namespace

// The time the simulated chip sees: that of the pin change or frame being worked through.
class Ft232r::EventClock final : public Clock {
  public:
    explicit EventClock(Clock& base) : base_(base) {}
    std::chrono::microseconds now() override { return at_; }
    void sleep(std::chrono::microseconds duration) override { base_.sleep(duration); }
    void set(int64_t ns) { at_ = std::chrono::microseconds(ns / 1000); }

  private:
    Clock& base_;
    std::chrono::microseconds at_{0};
};

Ft232r::Ft232r(const Config& config, Clock& clock)
    : config_(config),
      clock_(clock),
      chipclock_(std::make_unique<EventClock>(clock)),
      latencyms_(config.latencyms),
      lastbyte_(kLongAgo),
      statestart_(kLongAgo),
      shortestns_(kNever) {
    if (config_.chip != kEmptySocket) {
        chip_ = std::make_unique<PicChip>(chipfamilyformodel(config_.chip, 0, 0), *chipclock_);
        chip_->setcommandlogging(false);
    }
    adapter_.attach(chip_.get());
    adapter_.open("standin", 9600);
    chipclock_->set(now());
    dsr_.push_back({kLongAgo, adapter_.dsr()});
    showpins(now());
}

Ft232r::~Ft232r() = default;

int64_t Ft232r::now() const { return int64_t(clock_.now().count()) * 1000; }

void Ft232r::waituntil(int64_t ns) {
    const int64_t from = now();
    if (ns > from) clock_.sleep(std::chrono::microseconds((ns - from + 999) / 1000));
}

bool Ft232r::alive() {
    ++calls_;
    if (!unplugged_ && config_.unplugafter >= 0 && calls_ > config_.unplugafter) {
        unplugged_ = true;
        tx_.clear();
        pending_.clear();
    }
    if (!unplugged_) ++requests_;
    return !unplugged_;
}

void Ft232r::controlwait() {
    waituntil(now() + int64_t(config_.requestus) * 1000);
    run(now());
}

void Ft232r::open(bool reattach) {
    driverattached_ = false;
    reattach_ = reattach;
    inuse_ = true;
    controlwait();
    // The reset that opening does: UART mode at 9600 Bd, modem outputs off.
    tx_.clear();
    pending_.clear();
    fifo_.clear();
    host_.clear();
    bitbang_ = false;
    baud_ = 9600;
    uartrts_ = false;
    uartdtr_ = false;
    showpins(now());
}

void Ft232r::close() {
    run(now());
    inuse_ = false;
    if (reattach_) driverattached_ = true;
}

void Ft232r::setbitmode(uint8_t outputs, uint8_t mode) {
    const int64_t at = now();
    run(at);
    if (!pending_.empty() || !tx_.empty()) {
        cutframes_ += int64_t(pending_.size() + tx_.size());
        pending_.clear();
        tx_.clear();
    }
    changingmode_ = true;
    if (mode == kModeReset) {
        bitbang_ = false;
    } else {
        if (!bitbang_ && config_.latch == Latch::kCleared) latch_ = 0;
        bitbang_ = true;
        outputs_ = outputs;
    }
    showpins(at);
    changingmode_ = false;
}

void Ft232r::setbaud(int32_t baud) {
    run(now());
    baud_ = baud;
}

void Ft232r::setmodemlines(bool dtr, bool rts) {
    run(now());
    uartdtr_ = dtr;
    uartrts_ = rts;
    showpins(now());
}

void Ft232r::purgereceive() {
    run(now());
    fifo_.clear();
    host_.clear();
}

void Ft232r::write(const uint8_t* data, size_t size) {
    const int64_t at = now();
    run(at);
    const int64_t arrival = at + int64_t(config_.requestus) * 1000;
    for (size_t i = 0; i < size; ++i) {
        if (bitbang_) {
            tx_.emplace_back(data[i], arrival);
            continue;
        }
        const int64_t start = std::max(arrival, uartfree_);
        uartfree_ = start + kFrameBits * 1000000000 / std::max(baud_, 1);
        pending_.push_back({data[i], uartfree_});
        ++frames_;
    }
}

size_t Ft232r::read(uint8_t* buffer, size_t size, size_t chunk) {
    size_t got = 0;
    auto take = [&] {
        while (got < size && !host_.empty()) {
            buffer[got++] = host_.front();
            host_.pop_front();
        }
    };
    take();
    if (got == size) return got;
    int64_t ns = now();
    const size_t packets = std::max<size_t>(1, chunk / kPacketSize);
    for (;;) {
        const bool data = transfer(ns, packets);
        take();
        if (!data || got == size) break;
    }
    waituntil(ns);
    return got;
}

bool Ft232r::transfer(int64_t& ns, size_t packets) {
    size_t sent = 0;
    for (;;) {
        run(ns);
        auto send = [&](size_t count) {
            for (size_t i = 0; i < count; ++i) {
                host_.push_back(fifo_.front());
                fifo_.pop_front();
            }
            lastpacket_ = ns;
            busfree_ = ns + kPacketNs;
        };
        if (fifo_.size() >= kPacketData && ns >= busfree_) {
            send(kPacketData);
            if (++sent == packets) return true;
            continue;
        }
        const int64_t expiry = std::max(lastpacket_ + int64_t(latencyms_) * 1000000, busfree_);
        if (ns >= expiry) {
            const size_t count = std::min(fifo_.size(), kPacketData);
            send(count);
            return sent > 0 || count > 0;
        }
        int64_t next = expiry;
        if (fifo_.size() >= kPacketData) next = std::min(next, busfree_);
        if (bitbang_) next = std::min(next, nextbyte());
        if (!pending_.empty()) next = std::min(next, pending_.front().end);
        ns = next;
    }
}

uint16_t Ft232r::modemstatus() {
    run(now());
    const bool empty = pending_.empty();
    // Line status: THRE (20h) and TEMT (40h) once the last frame has left.
    const uint16_t line = empty ? uint16_t(0x20 | (config_.transmitterempty ? 0x40 : 0)) : 0;
    return uint16_t(0x01 | (line << 8));
}

double Ft232r::pinrate() const {
    if (config_.fixedrate > 0) return config_.fixedrate;
    double rate = baud_;
    switch (config_.reading) {
        case Reading::kAsked:
            rate = baud_ / 4.0;
            break;
        case Reading::kDivisor:
            break;
        case Reading::kTimes16:
            rate = 16.0 * baud_;
            break;
    }
    return std::min(rate, kFastestRate);
}

void Ft232r::run(int64_t ns) {
    for (;;) {
        const int64_t byte = bitbang_ ? nextbyte() : kNever;
        const int64_t frame = pending_.empty() ? kNever : pending_.front().end;
        if (std::min(byte, frame) > ns) return;
        if (byte <= frame) {
            clockbyte(byte);
        } else {
            endframe();
        }
    }
}

int64_t Ft232r::nextbyte() const {
    if (tx_.empty()) return kNever;
    const int64_t period = std::llround(1e9 / pinrate());
    return std::max(tx_.front().second, lastbyte_ + period);
}

// Synchronous bit-bang: the pins are read, then the byte is written.
void Ft232r::clockbyte(int64_t at) {
    const uint8_t byte = tx_.front().first;
    tx_.pop_front();
    lastbyte_ = at;
    uint8_t sample = pinlevels();
    const uint8_t dsrbit = uint8_t(1u << config_.pins.dsr.pin);
    if ((outputs_ & dsrbit) == 0) {
        const bool high = dsrat(at - kSettleNs) == config_.pins.dsr.assertedhigh;
        sample = high ? uint8_t(sample | dsrbit) : uint8_t(sample & ~dsrbit);
    }
    if (fifo_.size() >= size_t(config_.fifo)) {
        ++lostsamples_;
    } else {
        fifo_.push_back(sample);
    }
    latch_ = byte;
    ++pinbytes_;
    showpins(at);
}

void Ft232r::endframe() {
    const Frame frame = pending_.front();
    pending_.pop_front();
    chipclock_->set(frame.end);
    adapter_.sendbyte(frame.byte);
    notedsr(frame.end);
}

// Inputs rest on the chip's pull-ups; so does TXD, idle, in UART mode.
uint8_t Ft232r::pinlevels() const {
    if (bitbang_) return uint8_t((latch_ & outputs_) | (~outputs_ & 0xFF));
    uint8_t pins = 0xFF;
    if (uartrts_) pins &= uint8_t(~0x04);
    if (uartdtr_) pins &= uint8_t(~0x10);
    return pins;
}

void Ft232r::showpins(int64_t ns) {
    const uint8_t pins = pinlevels();
    const bool rts = config_.pins.rtsof(pins);
    const bool dtr = config_.pins.dtrof(pins);
    const bool txd = config_.pins.txdidle(pins);
    bool moved = false;
    if (rts != rts_ || dtr != dtr_) {
        const int64_t length = ns - statestart_;
        if (length < kSetupHoldNs) ++shortstates_;
        shortestns_ = std::min(shortestns_, length);
        statestart_ = ns;
        chipclock_->set(ns);
        if (rts != rts_) adapter_.setrts(rts);
        if (dtr != dtr_) adapter_.setdtr(dtr);
        rts_ = rts;
        dtr_ = dtr;
        notedsr(ns);
        moved = true;
    }
    if (txd != txd_) {
        if (!txd && bitbang_) ++tdpulses_;
        txd_ = txd;
        moved = true;
    }
    if (moved && changingmode_) ++modemoves_;
}

void Ft232r::notedsr(int64_t ns) {
    const bool level = adapter_.dsr();
    if (dsr_.back().high != level) dsr_.push_back({ns, level});
    while (dsr_.size() > 1 && dsr_[1].at <= ns - 2 * kSettleNs) dsr_.pop_front();
}

bool Ft232r::dsrat(int64_t ns) const {
    for (auto it = dsr_.rbegin(); it != dsr_.rend(); ++it)
        if (it->at <= ns) return it->high;
    return dsr_.front().high;
}

}  // namespace qm::standin
