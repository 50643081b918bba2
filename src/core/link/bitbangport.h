#pragma once

#include <cstdint>
#include <string>
#include <vector>

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
// Line states queued through the batch become pin bytes: a state is repeated for as many bytes
// as its hold time takes at the bit-bang rate (at least the chip's setup and hold time). A read
// of DSR is one more byte of the current state, whose sample is taken. The one-change operations
// of SerialPort send what is queued first and then their own change, in a round trip each.
//
// The supply toggle byte leaves bit-bang mode and goes out as a real UART frame; see sendbyte.
class BitBangPort final : public SerialPort, private LineBatch {
  public:
    // Pin bytes per second in bit-bang mode: one byte lasts 2 µs, twice the chip's setup and
    // hold time, so a default state is a single byte with room to spare.
    static constexpr int32_t kBitBangRate = 500000;
    // The shortest time a line state is held, whatever hold time is asked for.
    static constexpr int32_t kMinHoldUs = 1;
    // Queued bytes that make what is queued go out before it is needed, so long runs of commands
    // with long holds need no unbounded buffer. Once a read is queued nothing goes out before
    // its flush: the samples of one transfer come back together.
    static constexpr size_t kMaxQueuedBytes = 16384;

    explicit BitBangPort(FtdiTransport& transport, FtdiPinMap pins = {});
    ~BitBangPort() override;
    BitBangPort(const BitBangPort&) = delete;
    BitBangPort& operator=(const BitBangPort&) = delete;

    // Opens the FT232R with serial number `name` (empty: the first one found). `baud` is the
    // rate of the supply toggle frame. RTS and DTR start off.
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
    // Pin bytes written so far.
    int64_t pinbytes() const { return pinbytes_; }
    // Bytes a line state is held for at the bit-bang rate.
    static int32_t holdbytes(int32_t holdus);

  private:
    void queuerts(bool on, int32_t holdus) override;
    void queuedtr(bool on, int32_t holdus) override;
    int32_t queuedsr() override;
    bool flush() override;
    bool dsrread(int32_t n) const override;

    bool usable() const { return open_ && !failed_; }
    void queuestate(int32_t holdus);
    bool enterbitbang();
    bool leavebitbang();
    // Passes a transport call's outcome on; a failed call puts the port into the failed state.
    bool checked(bool ok);

    FtdiTransport& transport_;
    FtdiPinMap pins_;
    bool open_ = false;
    bool failed_ = false;
    std::string error_;
    int32_t baud_ = 0;
    bool rts_ = false;
    bool dtr_ = false;
    // The byte in the FT232R's output latch, when known: what the pins show on entering
    // bit-bang mode.
    bool latchknown_ = false;
    uint8_t latch_ = 0;

    std::vector<uint8_t> out_;
    std::vector<uint8_t> in_;
    std::vector<size_t> samplepos_;  // byte of each queued read
    std::vector<bool> reads_;        // the reads of the last flush
    int64_t pinbytes_ = 0;
};

}  // namespace qm
