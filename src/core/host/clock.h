#pragma once

#include <chrono>

namespace qm {

// Monotonic time source and blocking sleep. Everything that waits goes through a Clock, so tests
// and benchmarks can run long operations on virtual time.
class Clock {
  public:
    virtual ~Clock() = default;
    // Monotonic; unrelated to the wall clock, so a run across midnight measures correctly.
    virtual std::chrono::microseconds now() = 0;
    virtual void sleep(std::chrono::microseconds duration) = 0;

    void sleepms(int milliseconds) { sleep(std::chrono::milliseconds(milliseconds)); }
};

}  // namespace qm
