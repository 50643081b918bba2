#include "platform/ftdi/libftditransport.h"

#include <ftdi.h>
#include <sys/time.h>

#include <algorithm>
#include <chrono>
#include <deque>

namespace qm {

namespace {

// Samples come back to the PC when a USB packet is full or when the latency timer runs out; the
// default of 16 ms would add that to every short transfer.
constexpr unsigned char kLatencyMs = 1;
// libftdi reads one USB packet per request, so that a read returns as soon as a packet of
// samples is there instead of waiting for more.
constexpr int kReadChunk = 64;
// A transfer whose samples stop coming for this long has lost one, or the cable is gone.
constexpr std::chrono::seconds kNoAnswer(2);
// Line status bit: the transmitter's shift register is empty (the last frame has left).
constexpr unsigned short kTransmitterEmpty = 0x4000;
constexpr std::chrono::milliseconds kFrameWaitLimit(100);
constexpr std::chrono::microseconds kStatusPollGap(200);

bool contains(const std::string& text, const char* part) {
    return text.find(part) != std::string::npos;
}

}  // namespace

std::string ftdiopenfailure(int code, const std::string& serial, const std::string& libftditext) {
    const std::string which = serial.empty() ? std::string("an FT232R") : "the FT232R " + serial;
    std::string message;
    // libftdi gives -3 both for no device and for a device the kernel's driver keeps; only its
    // text tells them apart.
    if (contains(libftditext, "not found")) {
        message = serial.empty() ? "no FT232R found" : "no FT232R with serial number " + serial;
    } else if (contains(libftditext, "driver is not in use")) {
        message = "cannot open " + which +
                  ": the kernel's serial driver (ftdi_sio) could not be detached from it, "
                  "usually because a program has its /dev/ttyUSB port open; close that program "
                  "(see the README's section on FT232R cables)";
    } else if (code == -4 || code == -8 || code == -9) {
        message = "cannot open " + which +
                  "; the user may need access to the USB device (see the README's udev rule)";
    } else {
        message = "cannot open " + which;
    }
    if (!libftditext.empty()) message += " (libftdi: " + libftditext + ")";
    return message;
}

LibFtdiTransport::~LibFtdiTransport() { close(); }

void LibFtdiTransport::fresh() {
    if (ctx_ != nullptr) ctx_->error_str = nullptr;
}

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
#ifdef QUELLMARK_FTDI_REATTACH
    // libftdi detaches the kernel's serial driver to open the cable; this has it attached again
    // when the cable is closed, so that /dev/ttyUSBn comes back.
    ctx_->module_detach_mode = AUTO_DETACH_REATACH_SIO_MODULE;
#endif
    const int opened = ftdi_usb_open_desc(ctx_, kFtdiVendor, kFt232rProduct, nullptr,
                                          serial.empty() ? nullptr : serial.c_str());
    if (opened < 0) {
        const char* why = ftdi_get_error_string(ctx_);
        error_ = ftdiopenfailure(opened, serial, why != nullptr ? why : "");
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
        ftdi_setflowctrl(ctx_, SIO_DISABLE_FLOW_CTRL) < 0 ||
        ftdi_set_line_property(ctx_, BITS_8, STOP_BIT_1, NONE) < 0 ||
        ftdi_read_data_set_chunksize(ctx_, kReadChunk) < 0) {
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
    fresh();
    if (ftdi_setdtr_rts(ctx_, dtr ? 1 : 0, rts ? 1 : 0) < 0)
        return fail("setting RTS and DTR failed");
    return true;
}

// libftdi scales a rate set in bit-bang mode for the chip's bit-bang clock; what the pins then
// do is measured by the caller. Samples left over from before would shift every later read, so
// they are dropped.
bool LibFtdiTransport::setbitbang(uint8_t outputs, int32_t rate) {
    fresh();
    if (ftdi_set_bitmode(ctx_, outputs, BITMODE_SYNCBB) < 0)
        return fail("entering bit-bang mode failed");
    if (ftdi_set_baudrate(ctx_, rate) < 0) return fail("setting the bit-bang rate failed");
    if (ftdi_tciflush(ctx_) < 0) return fail("clearing the receive buffer failed");
    return true;
}

bool LibFtdiTransport::setoutputs(uint8_t outputs) {
    fresh();
    if (ftdi_set_bitmode(ctx_, outputs, BITMODE_SYNCBB) < 0)
        return fail("switching the bit-bang outputs on failed");
    return true;
}

bool LibFtdiTransport::setuart(int32_t baud) {
    fresh();
    if (ftdi_set_bitmode(ctx_, 0, BITMODE_RESET) < 0) return fail("leaving bit-bang mode failed");
    if (ftdi_set_baudrate(ctx_, baud) < 0) return fail("setting the baud rate failed");
    uartbaud_ = baud;
    return true;
}

// In synchronous bit-bang mode every byte written leaves a sample in the FT232R, which holds
// only kFt232rSampleFifo of them; what happens to a sample beyond that is not agreed on (lost,
// or the pins stall). So bytes go out asynchronously, never more than the FIFO holds beyond the
// samples read back, and reads follow them packet by packet: each packet back makes room for
// the next bytes while the pins still have the rest of the FIFO's worth to run through. The
// whole transfer stays one round trip of any size.
bool LibFtdiTransport::exchange(std::span<const uint8_t> out, std::span<uint8_t> in) {
    if (in.size() != out.size()) {
        error_ = "a transfer must read back as many bytes as it writes";
        return false;
    }
    fresh();
    struct Write {
        ftdi_transfer_control* control;
        size_t end;
    };
    std::deque<Write> writes;
    auto cancelall = [&writes] {
        for (const Write& write : writes) {
            timeval limit{1, 0};
            ftdi_transfer_data_cancel(write.control, &limit);
        }
        writes.clear();
    };
    // Written bytes whose samples are back have left the chip's buffer: their writes are done.
    auto finishwrites = [&writes](size_t sampled) {
        while (!writes.empty() && writes.front().end <= sampled) {
            ftdi_transfer_control* const control = writes.front().control;
            const int size = control->size;
            writes.pop_front();
            if (ftdi_transfer_data_done(control) != size) return false;
        }
        return true;
    };
    const size_t total = out.size();
    const size_t fifo = kFt232rSampleFifo;
    size_t written = 0;
    size_t got = 0;
    auto lastdata = clock_.now();
    while (got < total) {
        while (written < total && written - got < fifo) {
            const size_t size = std::min(total - written, fifo - (written - got));
            // libftdi takes the buffer as non-const but only reads it.
            ftdi_transfer_control* const control = ftdi_write_data_submit(
                ctx_, const_cast<unsigned char*>(out.data() + written), int(size));
            // libftdi gives no reason for a failed submit.
            if (control == nullptr) {
                cancelall();
                error_ = "writing to the FT232R failed; was the cable unplugged?";
                return false;
            }
            written += size;
            writes.push_back({control, written});
        }
        const int want = int(std::min<size_t>(written - got, kFt232rPacketData));
        const int read = ftdi_read_data(ctx_, in.data() + got, want);
        if (read < 0) {
            cancelall();
            return fail("reading from the FT232R failed");
        }
        if (read > 0) {
            got += size_t(read);
            lastdata = clock_.now();
            if (!finishwrites(got)) {
                cancelall();
                return fail("writing to the FT232R failed");
            }
        } else if (clock_.now() - lastdata > kNoAnswer) {
            cancelall();
            error_ = "the FT232R sent back " + std::to_string(got) + " of " +
                     std::to_string(total) +
                     " samples: one was lost, or the cable stopped answering";
            return false;
        }
    }
    if (!finishwrites(total)) {
        cancelall();
        return fail("writing to the FT232R failed");
    }
    return true;
}

// The frame takes ten bit times; the line status then says whether it has left the shift
// register. Bit-bang mode must not come back before that, or the frame is cut short and the
// adapter may not toggle: a chip that never says so fails the operation.
bool LibFtdiTransport::senduart(uint8_t byte) {
    fresh();
    unsigned char data = byte;
    if (ftdi_write_data(ctx_, &data, 1) != 1) return fail("sending the supply toggle byte failed");
    const int32_t baud = uartbaud_ > 0 ? uartbaud_ : 9600;
    clock_.sleep(std::chrono::microseconds((10 * 1000000 + baud - 1) / baud));
    const auto limit = clock_.now() + kFrameWaitLimit;
    for (;;) {
        unsigned short status = 0;
        if (ftdi_poll_modem_status(ctx_, &status) < 0)
            return fail("reading the line status failed");
        if ((status & kTransmitterEmpty) != 0) return true;
        if (clock_.now() >= limit) {
            error_ =
                "the FT232R did not report the supply toggle byte as sent (its transmitter-empty "
                "bit did not come within 100 ms)";
            return false;
        }
        clock_.sleep(kStatusPollGap);
    }
}

}  // namespace qm
