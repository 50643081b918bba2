#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/clock.h"
#include "link/ftdipins.h"
#include "link/ftditransport.h"
#include "link/linebatch.h"
#include "link/serialport.h"

namespace qm {

// The programmer port on a USB cable built on an FT232R, in synchronous bit-bang mode: RTS, DTR
// and TXD are plain outputs and DSR an input, and every byte written is one state of all of them,
// sampled back in the same USB round trip. Through a USB-serial driver each line change would be
// a round trip of its own (about a millisecond); here a whole word transfer, or a run of them up
// to the next wait, is one.
//
// How fast the pins really run for a rate asked of libftdi is not agreed on (the rate itself,
// four times it or sixteen times the baud rate libftdi sets), so opening measures it: the first
// rate asked is so low that every reading keeps the USB link ahead of the pins, a burst of
// unchanged pin bytes is timed on the clock, and the rate then asked is the one that puts the
// pins near kTargetRate under the reading found.
//
// Line states queued through the batch become pin bytes: a state is repeated for as many bytes
// as its hold time takes at the measured rate (at least the chip's setup and hold time). A read
// of DSR is one more byte of the current state, whose sample is taken. The one-change operations
// of SerialPort send what is queued first and then their own change, in a round trip each.
//
// The supply toggle byte leaves bit-bang mode and goes out as a real UART frame; see sendbyte.
class BitBangPort final : public SerialPort, private LineBatch {
  public:
    // The rate asked for while measuring. Under the fastest reading (64 times it) the pins then
    // take 10 ms for a sample FIFO's worth of bytes, far longer than the PC needs to read a
    // packet back and send more, so the pins never wait for the PC and the time measured is
    // theirs. (At 800 they would wait, for packets held back by the 1 ms latency timer, and the
    // rate would come out low.)
    static constexpr int32_t kProbeRate = 200;
    // The pins' rate aimed at: one byte per line state, lasting at least the chip's setup and
    // hold time with kRateMargin to spare.
    static constexpr double kTargetRate = 850000;
    // The measured rate is taken as up to this much too slow: the measurement's own error and
    // the pulse-width jitter of the R series [U: no figure for the jitter is known here].
    static constexpr double kRateMargin = 1.1;
    // Pins that ran at a multiple of the rate asked far from every reading (1, 4 and 64) mean
    // the time measured is not the pins' own: such a cable is refused.
    static constexpr double kMinPlausibleFactor = 0.5;
    static constexpr double kMaxPlausibleFactor = 100;
    // A burst is timed until it takes this much longer than a short one.
    static constexpr int32_t kMeasureUs = 30000;
    // The shortest time a line state is held, whatever hold time is asked for.
    static constexpr int32_t kMinHoldUs = 1;
    // Queued bytes that make what is queued go out before it is needed, so long runs of commands
    // with long holds need no unbounded buffer. Once a read is queued nothing goes out before
    // its flush: the samples of one transfer come back together.
    static constexpr size_t kMaxQueuedBytes = 16384;

    // `clock` times the measurement; it is the clock the transport's time passes on.
    BitBangPort(FtdiTransport& transport, Clock& clock, FtdiPinMap pins = {});
    ~BitBangPort() override;
    BitBangPort(const BitBangPort&) = delete;
    BitBangPort& operator=(const BitBangPort&) = delete;

    // Opens the FT232R with serial number `name` (empty: the first one found) and measures its
    // bit-bang rate. `baud` is the rate of the supply toggle frame. RTS and DTR start off.
    bool open(const std::string& name, int32_t baud) override;
    // Sends what is queued and leaves bit-bang mode with the lines as they are.
    void close() override;
    bool isopen() const override { return open_; }

    void setrts(bool on) override;
    void setdtr(bool on) override;
    bool dsr() override;
    void sendbyte(uint8_t byte) override;

    bool failed() const override { return failed_; }
    std::string errortext() const override { return error_; }

    LineBatch* linebatch() override { return open_ ? this : nullptr; }

    const FtdiPinMap& pins() const { return pins_; }
    // Pin bytes per second as measured at opening (0 before), and the rate asked of libftdi
    // for it.
    double pinrate() const { return pinrate_; }
    int32_t askedrate() const { return askedrate_; }
    // "850 000 pin bytes/s", the measured rate as the status line shows it.
    std::string pinratetext() const;
    // Bytes a line state is held for at the measured rate.
    int32_t holdbytes(int32_t holdus) const;
    // The highest rate up to `rate` that the FT232R sets exactly in bit-bang mode: libftdi asks
    // it for four times the rate, and its baud rates are 3 MBd, 2 MBd and 24 MHz / n for n from
    // 16 up (its 3 MHz clock divided in eighths). libftdi refuses a rate more than 5 % away from
    // one of those, and one in between would run the pins faster than asked.
    static int32_t askablerate(double rate);

  private:
    void queuerts(bool on, int32_t holdus) override;
    void queuedtr(bool on, int32_t holdus) override;
    void queuehold(int32_t holdus) override;
    int32_t queuedsr() override;
    bool flush() override;
    bool dsrread(int32_t n) const override;

    bool usable() const { return open_ && !failed_; }
    void queuestate(int32_t holdus);
    bool enterbitbang(bool opening);
    bool leavebitbang();
    bool measure();
    // Pin bytes per second of unchanged bytes at the rate asked last, timed with a long burst of
    // at least `longbytes` (doubled until it is long enough to time); 0 when a transfer failed.
    double burstrate(int32_t longbytes);
    // Microseconds one transfer of `bytes` unchanged bytes takes, round trip included; -1 when
    // it failed.
    int64_t bursttime(int32_t bytes);
    bool refuse(const std::string& why);
    // Passes a transport call's outcome on; a failed call puts the port into the failed state.
    bool checked(bool ok);

    FtdiTransport& transport_;
    Clock& clock_;
    FtdiPinMap pins_;
    bool open_ = false;
    bool failed_ = false;
    std::string error_;
    int32_t baud_ = 0;
    bool rts_ = false;
    bool dtr_ = false;
    double pinrate_ = 0;
    int32_t askedrate_ = 0;

    std::vector<uint8_t> out_;
    std::vector<uint8_t> in_;
    std::vector<size_t> samplepos_;  // byte of each queued read
    std::vector<bool> reads_;        // the reads of the last flush
};

}  // namespace qm
