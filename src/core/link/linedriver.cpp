#include "link/linedriver.h"

#include <array>
#include <chrono>

namespace qm {

namespace {

constexpr int32_t kCommandMax = 63;
constexpr int32_t kDataMax = 16383;
constexpr int kCommandBits = 6;
constexpr int kDataBits = 14;
constexpr int kSupplyWaitMs = 50;
constexpr uint8_t kToggleByte = 0x01;

bool validcommand(int32_t command) { return command >= 0 && command <= kCommandMax; }

}  // namespace

// Scope of one word transfer: queues it on the port's batch when the port has one, and gives the
// user interface its yield when the transfer is queued.
class LineDriver::Batch {
  public:
    explicit Batch(LineDriver& driver) : driver_(driver) {
        driver_.batch_ = driver_.port_.linebatch();
    }
    ~Batch() {
        if (driver_.batch_ == nullptr) return;
        driver_.batch_ = nullptr;
        driver_.host_.yield();
    }
    Batch(const Batch&) = delete;
    Batch& operator=(const Batch&) = delete;

  private:
    LineDriver& driver_;
};

LineDriver::LineDriver(SerialPort& port, Host& host, const ActiveModel& activemodel)
    : port_(port), host_(host), activemodel_(activemodel) {}

void LineDriver::setholdtime(int32_t microseconds) {
    holdus_ = microseconds > 0 ? microseconds : 0;
}

int32_t LineDriver::holdtime() const { return holdus_; }

// Runs after every line change. The common case (no hold time) must not reach the clock at all:
// a single chip operation changes lines millions of times.
void LineDriver::hold() {
    if (holdus_ > 0) host_.clock().sleep(std::chrono::microseconds(holdus_));
}

void LineDriver::flush() {
    if (LineBatch* batch = port_.linebatch()) batch->flush();
}

// The supply sequences' waits start after every queued change has reached the pins.
void LineDriver::pause(int milliseconds) {
    flush();
    host_.clock().sleepms(milliseconds);
}

void LineDriver::wait(int32_t milliseconds) {
    LineBatch* batch = port_.linebatch();
    if (batch == nullptr || milliseconds > kQueuedWaitMs) {
        pause(milliseconds);
        return;
    }
    if (milliseconds > 0) batch->queuehold(milliseconds * 1000);
    host_.yield();
}

void LineDriver::setclock(bool on) {
    port_.setrts(on);
    hold();
    host_.yield();
}

void LineDriver::setdata(bool on) {
    port_.setdtr(on);
    hold();
    host_.yield();
}

void LineDriver::clockhigh() { setclock(true); }
void LineDriver::clocklow() { setclock(false); }
void LineDriver::datahigh() { setdata(true); }
void LineDriver::datalow() { setdata(false); }

int LineDriver::datain() {
    host_.yield();
    // Both samples are always taken: a line that flips between them reads as 0.
    const bool first = port_.dsr();
    const bool second = port_.dsr();
    return (first && second) ? 1 : 0;
}

void LineDriver::togglevddvpp() {
    port_.sendbyte(kToggleByte);
    hold();
    host_.yield();
}

void LineDriver::poweron() {
    switch (activemodel_.voltageorder) {
        case 1:  // supply first
            togglevddvpp();
            pause(kSupplyWaitMs);
            host_.yield();
            pause(kSupplyWaitMs);
            break;
        case 2:  // programming voltage first
            host_.yield();
            pause(kSupplyWaitMs);
            togglevddvpp();
            pause(kSupplyWaitMs);
            break;
        default:
            // No recognised order: the adapter is left alone.
            break;
    }
}

void LineDriver::poweroff() {
    togglevddvpp();
    pause(kSupplyWaitMs);
    host_.yield();
    pause(kSupplyWaitMs);
}

// Inside a transfer every line operation gets a second yield, so each change is followed by two.
// A batching port holds each queued state for the hold time itself.
void LineDriver::xclock(bool on) {
    if (batch_ != nullptr) {
        batch_->queuerts(on, holdus_);
        return;
    }
    setclock(on);
    host_.yield();
}

void LineDriver::xdata(bool on) {
    if (batch_ != nullptr) {
        batch_->queuedtr(on, holdus_);
        return;
    }
    setdata(on);
    host_.yield();
}

int32_t LineDriver::sample() {
    if (batch_ == nullptr) return datain();
    const int32_t first = batch_->queuedsr();
    batch_->queuedsr();
    return first;
}

int32_t LineDriver::bitof(int32_t sampled) const {
    if (batch_ == nullptr) return sampled;
    // As datain: both reads must show DSR asserted.
    return (batch_->dsrread(sampled) && batch_->dsrread(sampled + 1)) ? 1 : 0;
}

// DATA OUT changes while CLOCK is high, so it is stable at the falling edge where the chip
// latches it.
void LineDriver::writebit(bool bit) {
    xclock(true);
    xdata(bit);
    xclock(false);
}

void LineDriver::writebits(int32_t value, int count) {
    for (int i = 0; i < count; ++i) writebit(((value >> i) & 1) != 0);
}

void LineDriver::sendcmd(int32_t command) {
    if (!validcommand(command)) return;
    const Batch batch(*this);
    writebits(command, kCommandBits);
    xdata(false);
}

void LineDriver::sendcmddata(int32_t command, int32_t data) {
    if (!validcommand(command) || data < 0 || data > kDataMax) return;
    const Batch batch(*this);
    writebits(command, kCommandBits);
    // Start bit.
    xdata(false);
    xclock(true);
    xclock(false);
    writebits(data, kDataBits);
    // Stop bit.
    xdata(false);
    xclock(true);
    xclock(false);
}

int32_t LineDriver::readcmddata(int32_t command) {
    if (!validcommand(command)) return 0;
    const Batch batch(*this);
    writebits(command, kCommandBits);
    // Start clock. DATA OUT stays high for the whole read so the chip can pull the pin low.
    xdata(true);
    xclock(true);
    xclock(false);
    std::array<int32_t, kDataBits> sampled{};
    for (int i = 0; i < kDataBits; ++i) {
        xclock(true);
        sampled[size_t(i)] = sample();
        xclock(false);
    }
    // Stop clock.
    xclock(true);
    xclock(false);
    xdata(false);
    // The value is used by the caller at once: a batching port must have sent it all by now.
    if (batch_ != nullptr) batch_->flush();
    int32_t result = 0;
    for (int i = 0; i < kDataBits; ++i) {
        if (bitof(sampled[size_t(i)]) == 1) result |= int32_t{1} << i;
    }
    return result;
}

void LineDriver::settle() {
    // The volatile accumulator keeps the compiler from folding the loop into a constant.
    volatile int32_t sum = 0;
    for (int32_t i = 1; i <= 100; ++i) sum = sum + i;
}

}  // namespace qm
