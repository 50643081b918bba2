#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qm {

// Which port a run uses: a numbered COM port, a device path, the simulated adapter, an FT232R
// USB cable in bit-bang mode, or the simulated adapter behind a simulated FT232R cable.
struct PortSpec {
    enum class Kind { Number, Path, Sim, Ftdi, FtdiSim };
    Kind kind = Kind::Number;
    int32_t number = 0;  // 1..16 for Kind::Number
    // Kind::Path: the device; Kind::Sim and Kind::FtdiSim: the image file, empty for none;
    // Kind::Ftdi: the cable's serial number, empty for the first one found.
    std::string path;
    // Kind::Sim and Kind::FtdiSim: the chip in the socket; empty for one of the model's, else a
    // simulated part's name or kEmptySocket ("none").
    std::string simchip;

    bool simulated() const { return kind == Kind::Sim || kind == Kind::FtdiSim; }
    bool ftdi() const { return kind == Kind::Ftdi || kind == Kind::FtdiSim; }
};

// Reads a port's text: "N" or "COMn" (any case, the number read by the program's number rule,
// 1 to 16), "sim", "sim:IMAGE", "sim=CHIP", "sim=CHIP:IMAGE" (CHIP a simulated part, or none for
// an empty socket, which keeps no image), "ftdi", "ftdi:SERIAL", "ftdisim" with the same four
// forms as "sim" (the words in any case), or a device path (anything holding a '/'). Anything
// else is no port at all.
std::optional<PortSpec> parseportspec(std::string_view text);

// The forms parseportspec reads, with the simulated chips CHIP can name, for the message about a
// value it does not.
std::string portforms();

}  // namespace qm
