#pragma once

#include <QSerialPort>

#include <cstdint>
#include <string>

#include "link/serialport.h"

namespace qm {

// The programmer port on a real serial device, through QSerialPort. Every call blocks until it
// has taken effect, so the line driver's timing does not depend on the event loop. A port is
// reported open only once DTR and RTS (DATA OUT and CLOCK) are both low.
class QtSerialPort final : public SerialPort {
  public:
    QtSerialPort();
    ~QtSerialPort() override;

    bool open(const std::string& name, int32_t baud) override;
    void close() override;
    bool isopen() const override;

    void setrts(bool on) override;
    void setdtr(bool on) override;
    bool dsr() override;
    void sendbyte(uint8_t byte) override;

    bool failed() const override;
    std::string errortext() const override;

    // The text shown for a QSerialPort error (empty for NoError).
    static std::string describe(QSerialPort::SerialPortError error);

    // How long sendbyte waits for the byte to leave before the port counts as failed.
    static constexpr int kWriteTimeoutMs = 1000;

  private:
    void onerror(QSerialPort::SerialPortError error);

    QSerialPort port_;
    bool opening_ = false;
    bool failed_ = false;
    std::string error_;
};

}  // namespace qm
