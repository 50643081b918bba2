#pragma once

#include <string>

#include "host/clock.h"
#include "link/ftditransport.h"

struct ftdi_context;

namespace qm {

// USB vendor and product ID of the FT232R (and of older FT232 chips, which are refused).
inline constexpr int kFtdiVendor = 0x0403;
inline constexpr int kFt232rProduct = 0x6001;

// The FT232R through libftdi1. The request counts of FtdiTransport are what this class makes.
// Its waits (the toggle frame, the time a cable may stay silent) pass on the clock it is given,
// the clock the caller times the cable with.
class LibFtdiTransport final : public FtdiTransport {
  public:
    explicit LibFtdiTransport(Clock& clock) : clock_(clock) {}
    ~LibFtdiTransport() override;
    LibFtdiTransport(const LibFtdiTransport&) = delete;
    LibFtdiTransport& operator=(const LibFtdiTransport&) = delete;

    bool open(const std::string& serial) override;
    void close() override;
    bool setmodemlines(bool rts, bool dtr) override;
    bool setbitbang(uint8_t outputs, int32_t rate) override;
    bool setoutputs(uint8_t outputs) override;
    bool setuart(int32_t baud) override;
    bool exchange(std::span<const uint8_t> out, std::span<uint8_t> in) override;
    bool senduart(uint8_t byte) override;
    std::string errortext() const override { return error_; }

  private:
    // Forgets libftdi's text of an earlier failure, so that a call that fails without one (the
    // submit calls) is not reported with a stale reason.
    void fresh();
    // Records a failed libftdi call (result below 0) with libftdi's own text; false.
    bool fail(const std::string& what);

    Clock& clock_;
    ftdi_context* ctx_ = nullptr;
    int32_t uartbaud_ = 9600;
    std::string error_;
};

// The message for a failed ftdi_usb_open_desc: what happened in the user's terms, what to do,
// and libftdi's own text. `code` is its result, `serial` the serial number asked for (empty:
// any).
std::string ftdiopenfailure(int code, const std::string& serial, const std::string& libftditext);

}  // namespace qm
