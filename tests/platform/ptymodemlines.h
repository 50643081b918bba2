#pragma once

#include <functional>
#include <string>

namespace qm::test {

// Modem lines for a pseudo-terminal, which has none of its own: QSerialPort's TIOCMBIS,
// TIOCMBIC, TIOCMSET and TIOCMGET calls on that terminal's slave side reach these lines instead
// of failing. This works by an ioctl() of the platform test program that stands in front of the
// C library's and passes every other call on unchanged.
//
// The lines start as the kernel leaves a real serial port's when it is opened: DTR and RTS
// raised. One instance at a time.
class PtyModemLines {
  public:
    explicit PtyModemLines(const std::string& slavepath);
    ~PtyModemLines();
    PtyModemLines(const PtyModemLines&) = delete;
    PtyModemLines& operator=(const PtyModemLines&) = delete;

    bool dtr() const;
    bool rts() const;
    void setdsr(bool on);

    // Runs after every change of DTR or RTS, with the new levels.
    std::function<void(bool dtr, bool rts)> onchange;
};

}  // namespace qm::test
