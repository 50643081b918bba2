#pragma once

#include <cstdint>

#include "devices/activemodel.h"
#include "host/host.h"
#include "link/serialport.h"

namespace qm {

// The only code that touches the adapter's lines: RTS = CLOCK, DTR = DATA OUT, DSR = DATA IN,
// a 01h byte on TD toggles the supply. Line operations, supply sequences and word transfers
// (6-bit commands and framed 14-bit words, least significant bit first).
//
// On a port that can batch (SerialPort::linebatch), each word transfer is queued whole, with one
// yield after it instead of two per line change; the line states and their order are the same.
// Reads and the driver's own waits flush the queue first; so must every other caller that
// waits or that needs the lines to have changed (see flush).
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

    // A script's wait: on a batching port a wait of up to kQueuedWaitMs is queued as the lines
    // held unchanged, so it joins the transfer around it instead of costing a round trip;
    // longer ones, and every wait on other ports, flush and sleep on the host's clock.
    void wait(int32_t milliseconds);
    static constexpr int32_t kQueuedWaitMs = 2;

    void sendcmd(int32_t command);
    void sendcmddata(int32_t command, int32_t data);
    int32_t readcmddata(int32_t command);
    void settle();

    // Sends the line changes a batching port still holds and returns once they have reached the
    // pins. Nothing for other ports, whose changes take effect at once.
    void flush();

  private:
    class Batch;

    void hold();
    void pause(int milliseconds);
    void setclock(bool on);
    void setdata(bool on);
    // Line changes inside word transfers: the line operation plus one more yield.
    void xclock(bool on);
    void xdata(bool on);
    void writebit(bool bit);
    void writebits(int32_t value, int count);
    // One double sample of DATA IN inside a read. Unbatched: the bit itself. Batched: the number
    // of the first of its two queued reads, turned into the bit by bitof after the flush.
    int32_t sample();
    int32_t bitof(int32_t sampled) const;

    SerialPort& port_;
    Host& host_;
    const ActiveModel& activemodel_;
    int32_t holdus_ = 0;
    // The port's batch while a word transfer is being queued on it, else nullptr.
    LineBatch* batch_ = nullptr;
};

}  // namespace qm
