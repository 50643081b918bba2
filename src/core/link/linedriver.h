#pragma once

#include <cstdint>

#include "devices/activemodel.h"
#include "host/host.h"
#include "link/serialport.h"

namespace qm {

// The only code that touches the adapter's lines: RTS = CLOCK, DTR = DATA OUT, DSR = DATA IN,
// a 01h byte on TD toggles the supply. Line operations, supply sequences and word transfers
// (6-bit commands and framed 14-bit words, least significant bit first).
class LineDriver {
public:
    // The driver reads voltageorder from the active model at each poweron.
    LineDriver(SerialPort& port, Host& host, const ActiveModel& activemodel);

    // Minimum time each line change is held before the next one, in microseconds (0 = none).
    // Negative values count as 0.
    void setholdtime(int32_t microseconds);
    int32_t holdtime() const;

    void clockhigh();
    void clocklow();
    void datahigh();
    void datalow();
    int datain();
    void togglevddvpp();

    void poweron();
    void poweroff();

    void sendcmd(int32_t command);
    void sendcmddata(int32_t command, int32_t data);
    int32_t readcmddata(int32_t command);
    void settle();

private:
    void hold();
    void setclock(bool on);
    void setdata(bool on);
    // Line changes inside word transfers: the line operation plus one more yield.
    void xclock(bool on);
    void xdata(bool on);
    void writebit(bool bit);
    void writebits(int32_t value, int count);

    SerialPort& port_;
    Host& host_;
    const ActiveModel& activemodel_;
    int32_t holdus_ = 0;
};

}  // namespace qm
