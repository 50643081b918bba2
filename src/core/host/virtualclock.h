#pragma once

#include "host/clock.h"

namespace qm {

// Time that only moves when someone sleeps (or advances it). Long chip operations run in
// milliseconds of real time while the simulated chip still sees every wait they make.
class VirtualClock final : public Clock {
public:
    std::chrono::microseconds now() override { return now_; }
    void sleep(std::chrono::microseconds duration) override {
        if (duration.count() > 0) now_ += duration;
    }
    void advance(std::chrono::microseconds duration) { sleep(duration); }

private:
    std::chrono::microseconds now_{0};
};

}  // namespace qm
