#include "platform/qtserialport.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <pty.h>
#include <poll.h>
#include <unistd.h>

#include <string>

namespace qm {
namespace {


// A pseudo-terminal pair: the port opens the slave side, the test reads what it sends from the
// master side.
class Pty {
public:
    Pty() {
        char name[256] = {};
        if (openpty(&master_, &slave_, name, nullptr, nullptr) == 0) slavename_ = name;
    }
    ~Pty() {
        if (slave_ >= 0) ::close(slave_);
        if (master_ >= 0) ::close(master_);
    }
    bool ok() const { return !slavename_.empty(); }
    // Closes both ends, as when a USB adapter is pulled out under an open port.
    void hangup() {
        ::close(slave_);
        ::close(master_);
        slave_ = master_ = -1;
    }
    const std::string& slavename() const { return slavename_; }

    // The bytes waiting on the master side right now.
    std::string pending() {
        std::string out;
        pollfd p{master_, POLLIN, 0};
        while (poll(&p, 1, 0) == 1 && (p.revents & POLLIN) != 0) {
            char buf[64];
            const ssize_t n = ::read(master_, buf, sizeof buf);
            if (n <= 0) break;
            out.append(buf, static_cast<size_t>(n));
        }
        return out;
    }

private:
    int master_ = -1;
    int slave_ = -1;
    std::string slavename_;
};

TEST(QtSerialPort, OpeningAMissingDeviceFailsWithAReason) {
    QtSerialPort port;
    EXPECT_FALSE(port.open("/dev/ttyUSB_quellmark_missing", 9600));
    EXPECT_FALSE(port.isopen());
    EXPECT_FALSE(port.failed());
    EXPECT_EQ(port.errortext(), "no such serial port");
    EXPECT_FALSE(port.open("/dev/ttyS0", 0));
    EXPECT_EQ(port.errortext(), "unsupported baud rate 0");
}

TEST(QtSerialPort, PtyOpensSendsTheByteAtOnceAndCloses) {
    Pty pty;
    ASSERT_TRUE(pty.ok());
    QtSerialPort port;
    ASSERT_TRUE(port.open(pty.slavename(), 9600)) << port.errortext();
    EXPECT_TRUE(port.isopen());
    EXPECT_EQ(port.errortext(), "");
    port.sendbyte(0x01);
    // No event loop runs here: the byte must be out when sendbyte returns.
    EXPECT_EQ(pty.pending(), std::string(1, '\x01'));
    EXPECT_FALSE(port.failed()) << port.errortext();
    port.close();
    EXPECT_FALSE(port.isopen());
    // Closed: line operations are ignored and do not count as a failure.
    port.sendbyte(0x01);
    port.setrts(true);
    EXPECT_FALSE(port.dsr());
    EXPECT_FALSE(port.failed());
}

TEST(QtSerialPort, ASecondOpenIsRefusedUntilClosed) {
    Pty pty;
    ASSERT_TRUE(pty.ok());
    QtSerialPort port;
    ASSERT_TRUE(port.open(pty.slavename(), 9600));
    EXPECT_FALSE(port.open(pty.slavename(), 9600));
    EXPECT_EQ(port.errortext(), "the serial port is already open");
    EXPECT_TRUE(port.isopen());
    port.close();
    EXPECT_TRUE(port.open(pty.slavename(), 9600)) << port.errortext();
}

// A pseudo-terminal has no modem lines, like a device that cannot drive the adapter: the first
// line change puts the port into the failure state, and a new open clears it.
TEST(QtSerialPort, ADeviceWithoutModemLinesCountsAsFailed) {
    Pty pty;
    ASSERT_TRUE(pty.ok());
    QtSerialPort port;
    ASSERT_TRUE(port.open(pty.slavename(), 56000)) << port.errortext();
    EXPECT_FALSE(port.failed());
    port.setrts(true);
    EXPECT_TRUE(port.failed());
    EXPECT_EQ(port.errortext(), "the serial port cannot do this");
    port.setdtr(true);
    EXPECT_FALSE(port.dsr());
    EXPECT_EQ(port.errortext(), "the serial port cannot do this");
    port.close();
    ASSERT_TRUE(port.open(pty.slavename(), 9600));
    EXPECT_FALSE(port.failed());
    EXPECT_EQ(port.errortext(), "");
}

TEST(QtSerialPort, ALineThatGoesAwayPutsThePortInTheFailureState) {
    Pty pty;
    ASSERT_TRUE(pty.ok());
    QtSerialPort port;
    ASSERT_TRUE(port.open(pty.slavename(), 9600));
    pty.hangup();
    port.sendbyte(0x01);  // must return, not wait forever
    EXPECT_TRUE(port.failed());
    EXPECT_NE(port.errortext(), "");
}

TEST(QtSerialPort, ErrorTextsNameTheCause) {
    EXPECT_EQ(QtSerialPort::describe(QSerialPort::ResourceError), "the serial port was lost");
    EXPECT_EQ(QtSerialPort::describe(QSerialPort::NoError), "");
    EXPECT_NE(QtSerialPort::describe(QSerialPort::PermissionError).find("dialout"),
              std::string::npos);
}

}  // namespace
}  // namespace qm
