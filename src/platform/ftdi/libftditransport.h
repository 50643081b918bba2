#pragma once

#include <string>

#include "link/ftditransport.h"

struct ftdi_context;

namespace qm {

// USB vendor and product ID of the FT232R (and of older FT232 chips, which are refused).
inline constexpr int kFtdiVendor = 0x0403;
inline constexpr int kFt232rProduct = 0x6001;

// The FT232R through libftdi1. The request counts of FtdiTransport are what this class makes.
class LibFtdiTransport final : public FtdiTransport {
  public:
    LibFtdiTransport() = default;
    ~LibFtdiTransport() override;
    LibFtdiTransport(const LibFtdiTransport&) = delete;
    LibFtdiTransport& operator=(const LibFtdiTransport&) = delete;

    bool open(const std::string& serial) override;
    void close() override;
    bool setmodemlines(bool rts, bool dtr) override;
    bool setbitbang(uint8_t outputs, int32_t rate) override;
    bool setuart(int32_t baud) override;
    bool exchange(std::span<const uint8_t> out, std::span<uint8_t> in) override;
    bool senduart(uint8_t byte) override;
    std::string errortext() const override { return error_; }

  private:
    // Records a failed libftdi call (result below 0) with libftdi's own text; false.
    bool fail(const std::string& what);

    ftdi_context* ctx_ = nullptr;
    std::string error_;
};

}  // namespace qm
