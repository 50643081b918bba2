#include "platform/qtserialport.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <unistd.h>

#include <memory>
#include <string>

#include "host/virtualclock.h"
#include "platform/ptymodemlines.h"
#include "sim/chipfamily.h"
#include "sim/picchip.h"

namespace qm {
namespace {

// A pseudo-terminal pair: the port opens the slave side, the test reads what it sends from the
// master side. Unless told otherwise it has modem lines, as a serial port has.
class Pty {
  public:
    explicit Pty(bool withlines = true) {
        char name[256] = {};
        if (openpty(&master_, &slave_, name, nullptr, nullptr) == 0) slavename_ = name;
        if (withlines && ok()) lines = std::make_unique<test::PtyModemLines>(slavename_);
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

    std::unique_ptr<test::PtyModemLines> lines;

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

// A device without modem lines cannot drive the adapter: it does not open, and the modem lines
// of a port that lost them later put it into the failure state until a new open.
TEST(QtSerialPort, ADeviceWithoutModemLinesDoesNotOpenAndLosingThemIsAFailure) {
    Pty bare(false);
    ASSERT_TRUE(bare.ok());
    QtSerialPort port;
    EXPECT_FALSE(port.open(bare.slavename(), 56000));
    EXPECT_FALSE(port.isopen());
    EXPECT_EQ(port.errortext(), "the serial port cannot do this");

    Pty pty;
    ASSERT_TRUE(port.open(pty.slavename(), 56000)) << port.errortext();
    pty.lines.reset();
    port.setrts(true);
    EXPECT_TRUE(port.failed());
    EXPECT_EQ(port.errortext(), "the serial port cannot do this");
    port.setdtr(true);
    EXPECT_FALSE(port.dsr());
    EXPECT_EQ(port.errortext(), "the serial port cannot do this");
    port.close();
    pty.lines = std::make_unique<test::PtyModemLines>(pty.slavename());
    ASSERT_TRUE(port.open(pty.slavename(), 9600));
    EXPECT_FALSE(port.failed());
    EXPECT_EQ(port.errortext(), "");
}

// The kernel raises DTR and RTS when it opens a serial port. Watched from a simulated chip on
// those lines, the adapter's first power-on after the open must find CLOCK and DATA OUT low.
TEST(QtSerialPort, TheFirstPowerOnAfterOpeningSeesClockAndDataLow) {
    Pty pty;
    ASSERT_TRUE(pty.ok());
    VirtualClock clock;
    PicChip chip(chipfamilyformodel("16F628A", 0, 0), clock);
    chip.setdata(pty.lines->dtr());
    chip.setclock(pty.lines->rts());
    pty.lines->onchange = [&chip](bool dtr, bool rts) {
        chip.setdata(dtr);
        chip.setclock(rts);
    };

    QtSerialPort port;
    ASSERT_TRUE(port.open(pty.slavename(), 56000)) << port.errortext();
    EXPECT_FALSE(pty.lines->dtr());
    EXPECT_FALSE(pty.lines->rts());
    // The supply toggle byte, as the adapter's TD circuit passes it to the chip.
    port.sendbyte(0x01);
    for (char byte : pty.pending()) {
        if (byte == 0x01) chip.togglesupply();
    }
    ASSERT_TRUE(chip.supplied());
    EXPECT_EQ(chip.count(ChipEventKind::kProtocolFault), 0)
        << describe(*chip.last(ChipEventKind::kProtocolFault));

    // The chip does see the lines: powered again with both raised, it logs the fault.
    chip.togglesupply();
    port.setrts(true);
    port.setdtr(true);
    chip.togglesupply();
    EXPECT_EQ(chip.count(ChipEventKind::kProtocolFault), 1);
    EXPECT_FALSE(port.failed()) << port.errortext();
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
