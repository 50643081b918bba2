#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace qm {

// Bytes of synchronous bit-bang samples the FT232R can hold before the PC reads them back. The
// data sheet's buffers are 128 and 256 bytes and sources differ on which one holds the samples
// [U]; the smaller is taken. A transport never has more bytes written than this beyond the
// samples it has read back, so that no sample can be lost whatever the chip does when it is full.
inline constexpr int kFt232rSampleFifo = 128;
// Data bytes in one USB packet from the FT232R: 64 bytes, 2 of them modem status.
inline constexpr int kFt232rPacketData = 62;

// What the bit-bang back-end needs of a USB cable built on an FT232R: the real chip through
// libftdi (platform), or the simulated one (sim/simft232r.h). Every call is carried out before
// it returns; the USB requests each one costs are listed, since they are what makes a cable slow.
class FtdiTransport {
  public:
    virtual ~FtdiTransport() = default;

    // Opens the FT232R with this serial number, or the first one found when it is empty. On
    // failure returns false and errortext() says why.
    virtual bool open(const std::string& serial) = 0;
    virtual void close() = 0;

    // UART mode's modem-control outputs, as the chip's UART drives them: asserted pulls RTS#
    // (D2) or DTR# (D4) low. They take effect on the pins whenever bit-bang mode is off.
    // One request.
    virtual bool setmodemlines(bool rts, bool dtr) = 0;
    // Synchronous bit-bang mode: the pins in `outputs` are driven from the output latch, the
    // others are inputs; `rate` is asked for as libftdi takes it in bit-bang mode (how fast the
    // pins then really run is for the caller to measure). Stale samples from before are dropped.
    // Three requests.
    virtual bool setbitbang(uint8_t outputs, int32_t rate) = 0;
    // In bit-bang mode: only the pins that are outputs change, the rate and the latch stay.
    // One request.
    virtual bool setoutputs(uint8_t outputs) = 0;
    // Leaves bit-bang mode: the UART at `baud` (8 data bits, no parity, 1 stop bit, as set when
    // it was opened). Two requests.
    virtual bool setuart(int32_t baud) = 0;

    // Bit-bang mode: writes `out` to the output latch, one byte per period of the rate, and
    // fills `in` (of the same size) with the pins as read just before each byte was written.
    // One round trip of any size: the transport keeps at most kFt232rSampleFifo bytes ahead of
    // the samples it has read back. Fewer samples than bytes is a failure, never a shifted read.
    virtual bool exchange(std::span<const uint8_t> out, std::span<uint8_t> in) = 0;
    // UART mode: sends one byte and returns once the chip reports it has left (or fails when it
    // never does). Two round trips or more.
    virtual bool senduart(uint8_t byte) = 0;

    // The reason of the last failure, a phrase such as "the device was unplugged".
    virtual std::string errortext() const = 0;
};

}  // namespace qm
