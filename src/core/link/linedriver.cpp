#include "link/linedriver.h"

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

LineDriver::LineDriver(SerialPort& port, Host& host, const ActiveModel& activemodel)
    : port_(port), host_(host), activemodel_(activemodel) {}

void LineDriver::setholdtime(int32_t microseconds) { holdus_ = microseconds > 0 ? microseconds : 0; }

int32_t LineDriver::holdtime() const { return holdus_; }

// Runs after every line change. The common case (no hold time) must not reach the clock at all:
// a single chip operation changes lines millions of times.
void LineDriver::hold() {
    if (holdus_ > 0) host_.clock().sleep(std::chrono::microseconds(holdus_));
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
            host_.clock().sleepms(kSupplyWaitMs);
            host_.yield();
            host_.clock().sleepms(kSupplyWaitMs);
            break;
        case 2:  // programming voltage first
            host_.yield();
            host_.clock().sleepms(kSupplyWaitMs);
            togglevddvpp();
            host_.clock().sleepms(kSupplyWaitMs);
            break;
        default:
            // No recognised order: the adapter is left alone.
            break;
    }
}

void LineDriver::poweroff() {
    togglevddvpp();
    host_.clock().sleepms(kSupplyWaitMs);
    host_.yield();
    host_.clock().sleepms(kSupplyWaitMs);
}

// Inside a transfer every line operation gets a second yield, so each change is followed by two.
void LineDriver::xclock(bool on) {
    setclock(on);
    host_.yield();
}

void LineDriver::xdata(bool on) {
    setdata(on);
    host_.yield();
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
    writebits(command, kCommandBits);
    xdata(false);
}

void LineDriver::sendcmddata(int32_t command, int32_t data) {
    if (!validcommand(command) || data < 0 || data > kDataMax) return;
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
    writebits(command, kCommandBits);
    // Start clock. DATA OUT stays high for the whole read so the chip can pull the pin low.
    xdata(true);
    xclock(true);
    xclock(false);
    int32_t result = 0;
    for (int i = 0; i < kDataBits; ++i) {
        xclock(true);
        if (datain() == 1) result |= int32_t{1} << i;
        xclock(false);
    }
    // Stop clock.
    xclock(true);
    xclock(false);
    xdata(false);
    return result;
}

void LineDriver::settle() {
    // The volatile accumulator keeps the compiler from folding the loop into a constant.
    volatile int32_t sum = 0;
    for (int32_t i = 1; i <= 100; ++i) sum = sum + i;
}

}  // namespace qm
