// The ftdi_* functions of libftdi1 that the FT232R transport and the cable listing call, with
// libftdi 1.5's return values and error texts, over the cable plugged in (standin.h).
#include <ftdi.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "ftdistandin/ft232r.h"
#include "ftdistandin/standin.h"
#include "host/systemclock.h"

namespace {

using qm::standin::Ft232r;

constexpr int kVendor = 0x0403;
constexpr int kProduct = 0x6001;

// libftdi's context with what the stand-in keeps per context.
struct Context {
    ftdi_context ctx;
    Ft232r* cable = nullptr;
    size_t readchunk = 4096;
};

struct Transfer {
    ftdi_transfer_control control;
};

Context& context(ftdi_context* ctx) { return *reinterpret_cast<Context*>(ctx); }

// The cable a program started with FTDI_STANDIN in its environment gets, on real time.
Ft232r* cable() {
    if (Ft232r* const plugged = qm::standin::plugged()) return plugged;
    const char* const text = std::getenv("FTDI_STANDIN");
    if (text == nullptr) return nullptr;
    qm::standin::Config config;
    std::string error;
    if (!qm::standin::parseconfig(text, config, error)) return nullptr;
    static qm::SystemClock realtime;
    return &qm::standin::plug(config, realtime);
}

int failed(ftdi_context* ctx, int code, const char* text) {
    ctx->error_str = text;
    return code;
}

// The open cable behind a context that is still plugged in; counts the call.
Ft232r* live(ftdi_context* ctx) {
    Ft232r* const cable = context(ctx).cable;
    return cable != nullptr && cable->alive() ? cable : nullptr;
}

// The baud rate an FT232R runs at for one asked: 3 MHz divided by n + k/8 (n at least 2), or
// 3 MHz or 2 MHz themselves, whichever is closest.
int ft232rbaud(int asked) {
    double best = 3000000;
    auto consider = [&](double candidate) {
        if (std::abs(candidate - asked) < std::abs(best - asked)) best = candidate;
    };
    consider(2000000);
    const long eighths = std::lround(24000000.0 / asked);
    for (long e = eighths - 1; e <= eighths + 1; ++e)
        if (e >= 16 && e <= 131071) consider(24000000.0 / double(e));
    return int(std::lround(best));
}

}  // namespace

ftdi_context* ftdi_new() {
    auto* context = new Context{};
    ftdi_context* ctx = &context->ctx;
    ctx->usb_read_timeout = 5000;
    ctx->usb_write_timeout = 5000;
    ctx->type = TYPE_BM;
    ctx->baudrate = -1;
    ctx->readbuffer_chunksize = 4096;
    ctx->writebuffer_chunksize = 4096;
    ctx->module_detach_mode = AUTO_DETACH_SIO_MODULE;
    return ctx;
}

void ftdi_free(ftdi_context* ctx) {
    if (ctx == nullptr) return;
    ftdi_usb_close(ctx);
    delete &context(ctx);
}

const char* ftdi_get_error_string(ftdi_context* ctx) { return ctx->error_str; }

int ftdi_usb_find_all(ftdi_context*, ftdi_device_list** devlist, int vendor, int product) {
    *devlist = nullptr;
    Ft232r* const found = cable();
    if (found == nullptr || !found->config().present || vendor != kVendor || product != kProduct)
        return 0;
    auto* entry = static_cast<ftdi_device_list*>(std::calloc(1, sizeof(ftdi_device_list)));
    entry->dev = reinterpret_cast<libusb_device*>(found);
    *devlist = entry;
    return 1;
}

void ftdi_list_free(ftdi_device_list** devlist) {
    while (*devlist != nullptr) {
        ftdi_device_list* const next = (*devlist)->next;
        std::free(*devlist);
        *devlist = next;
    }
}

int ftdi_usb_get_strings(ftdi_context*, libusb_device* dev, char* manufacturer, int mnf_len,
                         char* description, int desc_len, char* serial, int serial_len) {
    const auto* found = reinterpret_cast<Ft232r*>(dev);
    auto copy = [](char* to, int size, const std::string& text) {
        if (to != nullptr && size > 0) std::snprintf(to, size_t(size), "%s", text.c_str());
    };
    copy(manufacturer, mnf_len, "FTDI");
    copy(description, desc_len, "FT232R USB UART");
    copy(serial, serial_len, found->config().serial);
    return 0;
}

int ftdi_usb_open_desc(ftdi_context* ctx, int vendor, int product, const char* description,
                       const char* serial) {
    Ft232r* const found = cable();
    if (found == nullptr || !found->config().present || vendor != kVendor || product != kProduct ||
        (description != nullptr && std::string(description) != "FT232R USB UART") ||
        (serial != nullptr && found->config().serial != serial) || !found->alive()) {
        return failed(ctx, -3, "usb device not found");
    }
    if (found->inuse())
        return failed(
            ctx, -5, "unable to claim usb device. Make sure the default FTDI driver is not in use");
    if (found->driverattached()) {
        if (ctx->module_detach_mode == DONT_DETACH_SIO_MODULE)
            return failed(
                ctx, -5,
                "unable to claim usb device. Make sure the default FTDI driver is not in use");
        if (found->config().driverbusy)
            return failed(
                ctx, -3,
                "unable to set usb configuration. Make sure the default FTDI driver is not in use");
    }
    found->open(ctx->module_detach_mode == AUTO_DETACH_REATACH_SIO_MODULE);
    context(ctx).cable = found;
    ctx->type = TYPE_R;
    ctx->baudrate = 9600;
    ctx->bitbang_enabled = 0;
    ctx->max_packet_size = 64;
    return 0;
}

int ftdi_usb_close(ftdi_context* ctx) {
    Context& context = ::context(ctx);
    if (context.cable == nullptr) return 0;
    context.cable->close();
    context.cable = nullptr;
    return 0;
}

int ftdi_set_latency_timer(ftdi_context* ctx, unsigned char latency) {
    if (latency < 1) return failed(ctx, -1, "latency out of range. Only valid for 1-255");
    Ft232r* const cable = live(ctx);
    if (cable == nullptr) return failed(ctx, -2, "unable to set latency timer");
    cable->controlwait();
    cable->setlatency(latency);
    return 0;
}

int ftdi_setflowctrl(ftdi_context* ctx, int) {
    Ft232r* const cable = live(ctx);
    if (cable == nullptr) return failed(ctx, -1, "set flow control failed");
    cable->controlwait();
    return 0;
}

int ftdi_set_line_property(ftdi_context* ctx, ftdi_bits_type, ftdi_stopbits_type,
                           ftdi_parity_type) {
    Ft232r* const cable = live(ctx);
    if (cable == nullptr) return failed(ctx, -1, "Setting new line property failed");
    cable->controlwait();
    return 0;
}

int ftdi_read_data_set_chunksize(ftdi_context* ctx, unsigned int chunksize) {
    context(ctx).readchunk = chunksize;
    ctx->readbuffer_chunksize = chunksize;
    return 0;
}

int ftdi_setdtr_rts(ftdi_context* ctx, int dtr, int rts) {
    Ft232r* const cable = live(ctx);
    if (cable == nullptr) return failed(ctx, -1, "set of rts/dtr failed");
    cable->controlwait();
    cable->setmodemlines(dtr != 0, rts != 0);
    return 0;
}

int ftdi_set_bitmode(ftdi_context* ctx, unsigned char bitmask, unsigned char mode) {
    Ft232r* const cable = live(ctx);
    if (cable == nullptr || (mode != BITMODE_RESET && mode != BITMODE_SYNCBB))
        return failed(ctx, -1,
                      "unable to configure bitbang mode. Perhaps not a BM/2232C type chip?");
    cable->controlwait();
    cable->setbitmode(bitmask, mode);
    ctx->bitbang_mode = mode;
    ctx->bitbang_enabled = mode == BITMODE_RESET ? 0 : 1;
    return 0;
}

int ftdi_set_baudrate(ftdi_context* ctx, int baudrate) {
    if (ctx->bitbang_enabled) baudrate *= 4;
    if (baudrate <= 0) return failed(ctx, -1, "Silly baudrate <= 0.");
    const int actual = ft232rbaud(baudrate);
    if (actual * 2 < baudrate ||
        (actual < baudrate ? actual * 21.0 < baudrate * 20.0 : baudrate * 21.0 < actual * 20.0)) {
        return failed(ctx, -1,
                      "Unsupported baudrate. Note: bitbang baudrates are automatically "
                      "multiplied by 4");
    }
    Ft232r* const cable = live(ctx);
    if (cable == nullptr) return failed(ctx, -2, "Setting new baudrate failed");
    cable->controlwait();
    cable->setbaud(actual);
    ctx->baudrate = baudrate;
    return 0;
}

int ftdi_tciflush(ftdi_context* ctx) {
    Ft232r* const cable = live(ctx);
    if (cable == nullptr) return failed(ctx, -1, "FTDI purge of RX buffer failed");
    cable->controlwait();
    cable->purgereceive();
    return 0;
}

int ftdi_poll_modem_status(ftdi_context* ctx, unsigned short* status) {
    Ft232r* const cable = live(ctx);
    if (cable == nullptr) return failed(ctx, -1, "libusb_control_transfer failed");
    cable->controlwait();
    *status = cable->modemstatus();
    return 0;
}

int ftdi_write_data(ftdi_context* ctx, const unsigned char* buf, int size) {
    Ft232r* const cable = live(ctx);
    if (cable == nullptr) return failed(ctx, -1, "usb bulk write failed");
    cable->write(buf, size_t(size));
    return size;
}

// As libftdi's: a failed submit says nothing in the context's error text.
ftdi_transfer_control* ftdi_write_data_submit(ftdi_context* ctx, unsigned char* buf, int size) {
    Ft232r* const cable = live(ctx);
    if (cable == nullptr) return nullptr;
    cable->write(buf, size_t(size));
    auto* transfer = new Transfer{};
    transfer->control.buf = buf;
    transfer->control.size = size;
    transfer->control.offset = size;
    transfer->control.ftdi = ctx;
    return &transfer->control;
}

int ftdi_transfer_data_done(ftdi_transfer_control* tc) {
    const int done = tc->offset;
    delete reinterpret_cast<Transfer*>(tc);
    return done;
}

void ftdi_transfer_data_cancel(ftdi_transfer_control* tc, timeval*) {
    delete reinterpret_cast<Transfer*>(tc);
}

int ftdi_read_data(ftdi_context* ctx, unsigned char* buf, int size) {
    Ft232r* const cable = live(ctx);
    if (cable == nullptr) return failed(ctx, -4, "usb bulk read failed");
    return int(cable->read(buf, size_t(size), context(ctx).readchunk));
}
