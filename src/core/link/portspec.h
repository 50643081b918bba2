#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qm {

// Which port a run uses: a numbered COM port, a device path, or the simulated adapter.
struct PortSpec {
    enum class Kind { Number, Path, Sim };
    Kind kind = Kind::Number;
    int32_t number = 0;  // 1..16 for Kind::Number
    std::string path;    // Kind::Path: the device; Kind::Sim: the image file, empty for none
    // Kind::Sim: the chip in the socket; empty for one of the model's, else a simulated part's
    // name or kEmptySocket ("none").
    std::string simchip;
};

// Reads the --port value: "N" or "COMn" (any case, the number read by the program's number rule,
// 1 to 16), "sim", "sim:IMAGE", "sim=CHIP", "sim=CHIP:IMAGE" (CHIP a simulated part, or none for
// an empty socket, which keeps no image), or a device path (anything holding a '/'). Anything
// else is no port at all.
std::optional<PortSpec> parseportspec(std::string_view text);

}  // namespace qm
