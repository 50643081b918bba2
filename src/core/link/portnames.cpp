#include "link/portnames.h"

#include <array>
#include <string_view>

namespace qm {

namespace {

// COM1-COM8 are the built-in UARTs, COM9-COM16 the USB-serial adapters, which is where a
// programmer is found on most current machines.
constexpr std::array<std::string_view, kLastPort> kLinuxNames{
    "/dev/ttyS0",   "/dev/ttyS1",   "/dev/ttyS2",   "/dev/ttyS3",   "/dev/ttyS4",   "/dev/ttyS5",
    "/dev/ttyS6",   "/dev/ttyS7",   "/dev/ttyUSB0", "/dev/ttyUSB1", "/dev/ttyUSB2", "/dev/ttyUSB3",
    "/dev/ttyUSB4", "/dev/ttyUSB5", "/dev/ttyUSB6", "/dev/ttyUSB7",
};

constexpr std::array<std::string_view, kLastPort> kWindowsNames{
    "COM1", "COM2",  "COM3",  "COM4",  "COM5",  "COM6",  "COM7",  "COM8",
    "COM9", "COM10", "COM11", "COM12", "COM13", "COM14", "COM15", "COM16",
};

}  // namespace

PortNaming hostportnaming() {
#ifdef _WIN32
    return PortNaming::Windows;
#else
    return PortNaming::Linux;
#endif
}

std::string portdevicename(int32_t n, PortNaming naming) {
    if (n < kFirstPort || n > kLastPort) return {};
    const auto& table = naming == PortNaming::Windows ? kWindowsNames : kLinuxNames;
    return std::string(table[static_cast<size_t>(n - kFirstPort)]);
}

std::string portdevicename(int32_t n) { return portdevicename(n, hostportnaming()); }

}  // namespace qm
