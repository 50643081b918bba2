#pragma once

#include <cstdint>
#include <string>

#include "link/linebatch.h"

namespace qm {

// The serial port as the line driver sees it: open/close by device name, the two modem outputs,
// the one modem input, one transmitted byte, and an error state. Every operation changes exactly
// one line (or sends one byte) and has taken effect when it returns.
// Back-ends: the QSerialPort adapter (platform), the simulated adapter (core/sim), and the
// FT232R bit-bang cable (link/bitbangport.h), which can also take whole transfers at once.
class SerialPort {
  public:
    virtual ~SerialPort() = default;

    // Opens the named device at the baud rate with no parity, 8 data bits, 1 stop bit and no flow
    // control. On failure returns false and errortext() says why.
    virtual bool open(const std::string& name, int32_t baud) = 0;
    virtual void close() = 0;
    virtual bool isopen() const = 0;

    virtual void setrts(bool on) = 0;
    virtual void setdtr(bool on) = 0;
    virtual bool dsr() = 0;
    // Writes one byte and waits until it has left the driver's buffers.
    virtual void sendbyte(uint8_t byte) = 0;

    // True once the open port has failed (for example a USB adapter unplugged); stays true until
    // the next successful open.
    virtual bool failed() const = 0;
    // The reason of the last failure to open or of the failure state; empty when there is none.
    virtual std::string errortext() const = 0;

    // A port that can batch line changes returns its batch while it is open; every other port
    // returns nullptr and is driven one change per call.
    virtual LineBatch* linebatch() { return nullptr; }
};

}  // namespace qm
