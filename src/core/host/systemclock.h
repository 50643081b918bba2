#pragma once

#include "host/clock.h"

namespace qm {

// Real time: std::chrono::steady_clock and a thread sleep.
class SystemClock final : public Clock {
  public:
    std::chrono::microseconds now() override;
    void sleep(std::chrono::microseconds duration) override;
};

}  // namespace qm
