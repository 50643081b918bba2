#pragma once

#include <limits>

#include "host/clock.h"

namespace qm {

// Time that only moves when someone sleeps (or advances it). Long chip operations run in
// milliseconds of real time while the simulated chip still sees every wait they make.
class VirtualClock final : public Clock {
  public:
    std::chrono::microseconds now() override { return now_; }
    // Saturates at the largest time instead of wrapping round: a script of endless maximal waits
    // must not send the clock back to a time before a running write cycle began.
    void sleep(std::chrono::microseconds duration) override {
        if (duration.count() <= 0) return;
        const auto room = std::chrono::microseconds::max() - now_;
        now_ = duration < room ? now_ + duration : std::chrono::microseconds::max();
    }
    void advance(std::chrono::microseconds duration) { sleep(duration); }

  private:
    std::chrono::microseconds now_{0};
};

}  // namespace qm
