#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace qm {

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
    // others are inputs; bytes go to the pins at `rate` bytes per second. Stale samples from
    // before are dropped. Three requests.
    virtual bool setbitbang(uint8_t outputs, int32_t rate) = 0;
    // Leaves bit-bang mode: the UART at `baud`, 8 data bits, no parity, 1 stop bit. Three
    // requests.
    virtual bool setuart(int32_t baud) = 0;

    // Bit-bang mode: writes `out` to the output latch, one byte per period of the rate, and
    // fills `in` (of the same size) with the pins as read just before each byte was written.
    // One round trip.
    virtual bool exchange(std::span<const uint8_t> out, std::span<uint8_t> in) = 0;
    // UART mode: sends one byte and returns once it has left the chip. Two round trips or more.
    virtual bool senduart(uint8_t byte) = 0;

    // The reason of the last failure, a phrase such as "the device was unplugged".
    virtual std::string errortext() const = 0;
};

}  // namespace qm
