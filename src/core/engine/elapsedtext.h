#pragma once

#include <chrono>
#include <string>

namespace qm {

// Whole seconds, ".", and the hundredths truncated to two digits: 3.25 s -> "3.25",
// 12 s -> "12.00", 59.999 s -> "59.99". A negative span (impossible on a monotonic clock) shows
// as "0.00".
std::string elapsedtext(std::chrono::microseconds elapsed);

}  // namespace qm
