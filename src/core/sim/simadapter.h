#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "link/serialport.h"
#include "sim/picchip.h"

namespace qm {

// The passive programming adapter on a simulated serial port: RTS drives the chip's CLOCK, DTR
// its DATA pin, every 01h byte on TD toggles the supply (VDD and VPP together), and DSR reads
// the DATA line. While the chip drives DATA (during a read) DSR shows the chip's bit; otherwise
// it reads back DATA OUT, as the line does through the adapter's resistor. Without a chip
// attached DSR always reads DATA OUT. A DATA IN line stuck at one level (an adapter without
// supply, a broken wire) can be set for tests.
//
// For tests of port handling the adapter can refuse chosen names and can lose the port after a
// given number of line operations.
class SimAdapter final : public SerialPort {
  public:
    explicit SimAdapter(PicChip* chip = nullptr);

    // The chip in the socket (nullptr: empty socket). A newly attached chip sees the current
    // supply and line levels.
    void attach(PicChip* chip);
    PicChip* chip() const { return chip_; }

    bool open(const std::string& name, int32_t baud) override;
    void close() override;
    bool isopen() const override { return open_; }

    void setrts(bool on) override;
    void setdtr(bool on) override;
    bool dsr() override;
    void sendbyte(uint8_t byte) override;

    bool failed() const override { return failed_; }
    std::string errortext() const override { return errortext_; }

    // open() fails on these names, as on a machine without those ports.
    void setunavailable(std::vector<std::string> names) { unavailable_ = std::move(names); }
    // The port is lost after this many further line operations (RTS, DTR, DSR, byte): that
    // operation and all later ones do nothing, DSR reads 0, failed() turns true. -1: never.
    void failafter(int64_t operations) { countdown_ = operations; }

    // DSR reads this level whatever the chip or DATA OUT do; std::nullopt: as wired.
    void setdatainstuck(std::optional<bool> level) { stuck_ = level; }

    // What the adapter shows, for tests.
    int64_t lineoperations() const { return lineops_; }
    int64_t bytessent() const { return bytes_; }
    bool rts() const { return rts_; }
    bool dtr() const { return dtr_; }
    bool supply() const { return supply_; }
    const std::string& portname() const { return name_; }
    int32_t baud() const { return baud_; }

  private:
    // Counts a line operation; false when the port is closed or has just been lost.
    bool lineop();

    PicChip* chip_ = nullptr;
    bool open_ = false;
    bool failed_ = false;
    std::string errortext_;
    std::string name_;
    int32_t baud_ = 0;
    std::vector<std::string> unavailable_;
    int64_t countdown_ = -1;
    int64_t lineops_ = 0;
    int64_t bytes_ = 0;
    bool rts_ = false;
    bool dtr_ = false;
    bool supply_ = false;
    std::optional<bool> stuck_;
};

}  // namespace qm
