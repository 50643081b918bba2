#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "link/ftdipins.h"
#include "link/ftditransport.h"
#include "link/serialport.h"
#include "sim/lineclock.h"

namespace qm {

// A simulated FT232R on a USB cable wired as `pins` says, whose RS-232 end is plugged into
// `adapter` (the simulated programming adapter, or anything else with the adapter's lines).
// Pin bytes written in bit-bang mode are decoded into the line changes they make at the 9-pin
// connector and fed to the adapter at the bit-bang rate; the samples returned are the pins as
// they stood before each byte, with DSR as the adapter shows it. In UART mode the modem outputs
// drive RTS and DTR, and a byte sent goes to the adapter as a frame at the UART's baud rate.
//
// What a real cable would hide is counted: USB round trips (as the libftdi transport makes
// them), pin bytes, line states shorter than the chip's setup and hold time, and pulses on TXD
// in bit-bang mode (the adapter could take them for a frame).
class SimFt232r final : public FtdiTransport {
  public:
    // The serial number the simulated chip answers to.
    static constexpr const char* kSerial = "QMSIM001";

    SimFt232r(SerialPort& adapter, Clock& clock, FtdiPinMap pins = {});

    bool open(const std::string& serial) override;
    void close() override;
    bool setmodemlines(bool rts, bool dtr) override;
    bool setbitbang(uint8_t outputs, int32_t rate) override;
    bool setoutputs(uint8_t outputs) override;
    bool setuart(int32_t baud) override;
    bool exchange(std::span<const uint8_t> out, std::span<uint8_t> in) override;
    bool senduart(uint8_t byte) override;
    std::string errortext() const override { return error_; }

    // The clock for whatever hangs on the cable (see LineClock).
    Clock& lineclock() { return lineclock_; }

    // The cable is unplugged after this many further round trips: that one and all later ones
    // fail. -1: never.
    void failafter(int64_t roundtrips) { countdown_ = roundtrips; }

    // A byte sent in UART mode, with the UART's baud rate and the lines at the connector.
    struct Frame {
        uint8_t byte = 0;
        int32_t baud = 0;
        bool rts = false;
        bool dtr = false;
    };
    const std::vector<Frame>& frames() const { return frames_; }

    int64_t roundtrips() const { return roundtrips_; }
    int64_t pinbytes() const { return pinbytes_; }
    // Times a transfer went on beyond the sample FIFO: the bytes past kFt232rSampleFifo, in
    // packets of samples read back before more are written.
    int64_t refills() const { return refills_; }
    int64_t shortstates() const { return shortstates_; }
    int64_t txdpulses() const { return txdpulses_; }
    bool bitbang() const { return bitbang_; }

  private:
    // Counts one round trip; false when the cable is closed or has just been unplugged.
    bool roundtrip();
    // `count` round trips of a call that sets a rate (or baud rate) `what`, which must be above 0.
    bool requests(int count, int32_t rate, const char* what);
    // The pins as they stand: outputs from the latch or the UART, inputs on their pull-ups.
    uint8_t pins() const;
    // Passes the pins' line levels on to the connector; true when one changed.
    bool showpins();
    void writepins(uint8_t byte);

    SerialPort& adapter_;
    LineClock lineclock_;
    FtdiPinMap map_;
    bool open_ = false;
    bool unplugged_ = false;
    std::string error_;
    int64_t countdown_ = -1;

    bool bitbang_ = false;
    uint8_t outputs_ = 0;
    int32_t rate_ = 0;
    int32_t baud_ = 9600;
    bool uartrts_ = false;
    bool uartdtr_ = false;
    // The output latch keeps its byte across modes; it powers up as zeros [U].
    uint8_t latch_ = 0;

    // What the connector shows.
    bool rts_ = false;
    bool dtr_ = false;
    bool txd_ = true;

    int64_t carryns_ = 0;    // time of past transfers below a whole microsecond
    int64_t runbytes_ = -1;  // bytes of the current line state in bit-bang mode; -1: long
    int64_t roundtrips_ = 0;
    int64_t pinbytes_ = 0;
    int64_t refills_ = 0;
    int64_t shortstates_ = 0;
    int64_t txdpulses_ = 0;
    std::vector<Frame> frames_;
};

}  // namespace qm
