#include "platform/qtserialport.h"

#include <QString>

#ifdef Q_OS_UNIX
#include <termios.h>
#endif

namespace qm {

QtSerialPort::QtSerialPort() {
    // Errors arrive synchronously from the call that caused them; the failure state is kept
    // here so the core can poll it without knowing Qt.
    QObject::connect(&port_, &QSerialPort::errorOccurred,
                     [this](QSerialPort::SerialPortError error) { onerror(error); });
}

QtSerialPort::~QtSerialPort() {
    QObject::disconnect(&port_, nullptr, nullptr, nullptr);
    if (port_.isOpen()) port_.close();
}

bool QtSerialPort::open(const std::string& name, int32_t baud) {
    if (port_.isOpen()) {
        error_ = describe(QSerialPort::OpenError);
        return false;
    }
    error_.clear();
    failed_ = false;
    if (baud <= 0) {
        error_ = "unsupported baud rate " + std::to_string(baud);
        return false;
    }
    port_.clearError();
    port_.setPortName(QString::fromStdString(name));
    port_.setBaudRate(baud);
    port_.setParity(QSerialPort::NoParity);
    port_.setDataBits(QSerialPort::Data8);
    port_.setStopBits(QSerialPort::OneStop);
    port_.setFlowControl(QSerialPort::NoFlowControl);
    opening_ = true;
    // Opening a serial port raises DTR and RTS on Linux. The adapter would then power the chip
    // with CLOCK and DATA OUT high, and the chip enters programming mode only with both low, so
    // both are lowered before the port counts as open; a device that cannot do that cannot
    // drive the adapter at all.
    const bool ok = port_.open(QIODevice::ReadWrite) && port_.setDataTerminalReady(false) &&
                    port_.setRequestToSend(false);
    opening_ = false;
    if (!ok) {
        if (error_.empty()) error_ = describe(port_.error());
        if (error_.empty()) error_ = "cannot open " + name;
        if (port_.isOpen()) port_.close();
        return false;
    }
    error_.clear();
    failed_ = false;
    return true;
}

void QtSerialPort::close() {
    if (port_.isOpen()) port_.close();
}

bool QtSerialPort::isopen() const { return port_.isOpen(); }

void QtSerialPort::setrts(bool on) {
    if (port_.isOpen()) port_.setRequestToSend(on);
}

void QtSerialPort::setdtr(bool on) {
    if (port_.isOpen()) port_.setDataTerminalReady(on);
}

bool QtSerialPort::dsr() {
    if (!port_.isOpen()) return false;
    return (port_.pinoutSignals() & QSerialPort::DataSetReadySignal) != 0;
}

void QtSerialPort::sendbyte(uint8_t byte) {
    if (!port_.isOpen()) return;
    const char data = static_cast<char>(byte);
    if (port_.write(&data, 1) != 1) return;  // the error handler has recorded why
    // QSerialPort only queues the byte; push it to the driver now, then wait until the UART
    // has shifted it out so the adapter has seen it when this returns.
    while (port_.bytesToWrite() > 0) {
        if (!port_.waitForBytesWritten(kWriteTimeoutMs)) {
            if (!failed_) onerror(QSerialPort::TimeoutError);
            return;
        }
    }
    port_.flush();
#ifdef Q_OS_UNIX
    tcdrain(static_cast<int>(port_.handle()));
#endif
}

bool QtSerialPort::failed() const { return failed_; }

std::string QtSerialPort::errortext() const { return error_; }

void QtSerialPort::onerror(QSerialPort::SerialPortError error) {
    if (error == QSerialPort::NoError) return;
    const std::string text = describe(error);
    if (opening_) {
        // A failed open is reported by open's result; keep the first, most specific reason.
        if (error_.empty()) error_ = text;
        return;
    }
    if (!port_.isOpen() && error == QSerialPort::NotOpenError) return;
    // Once failed, keep the first reason: later errors are usually consequences of it.
    if (!failed_) {
        failed_ = true;
        error_ = text;
    }
}

std::string QtSerialPort::describe(QSerialPort::SerialPortError error) {
    switch (error) {
        case QSerialPort::NoError:
            return {};
        case QSerialPort::DeviceNotFoundError:
            return "no such serial port";
        case QSerialPort::PermissionError:
#ifdef Q_OS_WIN
            return "permission denied: the serial port is in use by another program";
#else
            return "permission denied: the serial port is in use, or the user is not in the "
                   "dialout group";
#endif
        case QSerialPort::OpenError:
            return "the serial port is already open";
        case QSerialPort::WriteError:
            return "writing to the serial port failed";
        case QSerialPort::ReadError:
            return "reading from the serial port failed";
        case QSerialPort::ResourceError:
            return "the serial port was lost";
        case QSerialPort::UnsupportedOperationError:
            return "the serial port cannot do this";
        case QSerialPort::TimeoutError:
            return "the serial port did not send in time";
        case QSerialPort::NotOpenError:
            return "the serial port is not open";
        case QSerialPort::UnknownError:
            break;
    }
    return "serial port error";
}

}  // namespace qm
