#pragma once

#include <cstdint>
#include <string>

namespace qm {

// Port numbers the user can choose: COM1 to COM16.
inline constexpr int32_t kFirstPort = 1;
inline constexpr int32_t kLastPort = 16;

// How port numbers become device names on a platform.
enum class PortNaming { Windows, Linux };

// The naming of the platform this program was built for.
PortNaming hostportnaming();

// The device name of COM port n under the given naming ("COM5", "/dev/ttyS4", "/dev/ttyUSB0");
// empty when n is outside 1..16.
std::string portdevicename(int32_t n, PortNaming naming);
// The same under the host's naming.
std::string portdevicename(int32_t n);

}  // namespace qm
