#include "platform/ftdi/libftditransport.h"

#include <ftdi.h>
#include <sys/time.h>

#include <chrono>
#include <thread>

namespace qm {

namespace {

using Steady = std::chrono::steady_clock;

// Samples come back to the PC when a USB packet is full or when the latency timer runs out; the
// default of 16 ms would add that to every short transfer.
constexpr unsigned char kLatencyMs = 1;
// A transfer whose samples stop coming for this long means the cable is gone.
constexpr auto kNoAnswer = std::chrono::seconds(2);
// Line status bit: the transmitter's shift register is empty (the last frame has left).
constexpr unsigned short kTransmitterEmpty = 0x4000;
constexpr auto kFrameWaitLimit = std::chrono::milliseconds(100);

}  // namespace

LibFtdiTransport::~LibFtdiTransport() { close(); }

bool LibFtdiTransport::fail(const std::string& what) {
    const char* why = ctx_ != nullptr ? ftdi_get_error_string(ctx_) : nullptr;
    error_ = what;
    if (why != nullptr && *why != '\0') error_ += " (" + std::string(why) + ")";
    return false;
}

bool LibFtdiTransport::open(const std::string& serial) {
    close();
    error_.clear();
    ctx_ = ftdi_new();
    if (ctx_ == nullptr) {
        error_ = "libftdi cannot start";
        return false;
    }
    const int opened = ftdi_usb_open_desc(ctx_, kFtdiVendor, kFt232rProduct, nullptr,
                                          serial.empty() ? nullptr : serial.c_str());
    if (opened < 0) {
        const std::string which =
            serial.empty() ? std::string("an FT232R") : "the FT232R " + serial;
        if (opened == -3) {
            error_ = serial.empty() ? "no FT232R found" : "no FT232R with serial number " + serial;
        } else {
            fail("cannot open " + which +
                 (opened == -4 || opened == -8 ? "; the user may need access to the USB device"
                                               : ""));
        }
        ftdi_free(ctx_);
        ctx_ = nullptr;
        return false;
    }
    // Synchronous bit-bang mode came with the R series; older chips share the product ID.
    if (ctx_->type != TYPE_R) {
        error_ = "the device is an older FT232 without synchronous bit-bang mode";
        close();
        return false;
    }
    if (ftdi_set_latency_timer(ctx_, kLatencyMs) < 0 ||
        ftdi_setflowctrl(ctx_, SIO_DISABLE_FLOW_CTRL) < 0) {
        fail("cannot set up the FT232R");
        close();
        return false;
    }
    return true;
}

void LibFtdiTransport::close() {
    if (ctx_ == nullptr) return;
    ftdi_usb_close(ctx_);
    ftdi_free(ctx_);
    ctx_ = nullptr;
}

bool LibFtdiTransport::setmodemlines(bool rts, bool dtr) {
    if (ftdi_setdtr_rts(ctx_, dtr ? 1 : 0, rts ? 1 : 0) < 0)
        return fail("setting RTS and DTR failed");
    return true;
}

// libftdi scales a rate set in bit-bang mode for the chip's bit-bang clock, so the rate asked
// for is the rate at which bytes reach the pins [not measured here; in synchronous mode the
// chip can only be slower, never faster, since it waits for room for each sample]. Samples left
// over from before would shift every later read, so they are dropped.
bool LibFtdiTransport::setbitbang(uint8_t outputs, int32_t rate) {
    if (ftdi_set_bitmode(ctx_, outputs, BITMODE_SYNCBB) < 0)
        return fail("entering bit-bang mode failed");
    if (ftdi_set_baudrate(ctx_, rate) < 0) return fail("setting the bit-bang rate failed");
    if (ftdi_tciflush(ctx_) < 0) return fail("clearing the receive buffer failed");
    return true;
}

bool LibFtdiTransport::setuart(int32_t baud) {
    if (ftdi_set_bitmode(ctx_, 0, BITMODE_RESET) < 0) return fail("leaving bit-bang mode failed");
    if (ftdi_set_baudrate(ctx_, baud) < 0) return fail("setting the baud rate failed");
    if (ftdi_set_line_property(ctx_, BITS_8, STOP_BIT_1, NONE) < 0)
        return fail("setting 8 data bits, no parity, 1 stop bit failed");
    return true;
}

// In synchronous bit-bang mode the chip writes a byte to the pins only when it has room for the
// byte's sample, so a large write would stall if the samples were only read after it. The write
// goes out asynchronously while the samples are read back, which makes it one round trip of any
// size.
bool LibFtdiTransport::exchange(std::span<const uint8_t> out, std::span<uint8_t> in) {
    const int size = int(out.size());
    // libftdi takes the buffer as non-const but only reads it.
    ftdi_transfer_control* write =
        ftdi_write_data_submit(ctx_, const_cast<unsigned char*>(out.data()), size);
    if (write == nullptr) return fail("writing to the FT232R failed");
    auto cancel = [&] {
        timeval limit{1, 0};
        ftdi_transfer_data_cancel(write, &limit);
    };
    size_t got = 0;
    auto lastdata = Steady::now();
    while (got < in.size()) {
        const int read = ftdi_read_data(ctx_, in.data() + got, int(in.size() - got));
        if (read < 0) {
            cancel();
            return fail("reading from the FT232R failed");
        }
        if (read > 0) {
            got += size_t(read);
            lastdata = Steady::now();
        } else if (Steady::now() - lastdata > kNoAnswer) {
            cancel();
            error_ = "the FT232R stopped answering";
            return false;
        }
    }
    if (ftdi_transfer_data_done(write) != size) return fail("writing to the FT232R failed");
    return true;
}

// The frame takes ten bit times; the line status then says whether it has left the shift
// register. Chips that never report that [not known of any] are given the frame time only.
bool LibFtdiTransport::senduart(uint8_t byte) {
    unsigned char data = byte;
    if (ftdi_write_data(ctx_, &data, 1) != 1) return fail("sending the supply toggle byte failed");
    const int baud = ctx_->baudrate > 0 ? ctx_->baudrate : 9600;
    std::this_thread::sleep_for(std::chrono::microseconds((10 * 1000000 + baud - 1) / baud));
    const auto limit = Steady::now() + kFrameWaitLimit;
    unsigned short status = 0;
    do {
        if (ftdi_poll_modem_status(ctx_, &status) < 0)
            return fail("reading the line status failed");
    } while ((status & kTransmitterEmpty) == 0 && Steady::now() < limit);
    return true;
}

}  // namespace qm
