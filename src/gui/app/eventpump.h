#pragma once

#include <chrono>
#include <cstdint>

#include "host/clock.h"

namespace qm::gui {

// The GUI's yield. Processing the window system's events after every line change would cost far
// more than the line changes themselves, so events are processed at most once per interval;
// a wait longer than that is cut into slices with a pass between them (PumpingClock), so the
// window never goes longer than about one interval without a pass.
class EventPump {
  public:
    using Wall = std::chrono::steady_clock;

    explicit EventPump(std::chrono::microseconds interval = std::chrono::milliseconds(5));

    std::chrono::microseconds interval() const { return interval_; }

    // A yield: processes pending events when the last pass is at least an interval ago. Only
    // every few calls looks at the clock; the calls come millions of times per operation.
    void yield() {
        if ((++calls_ & kCallMask) != 0) return;
        pumpifdue();
    }
    // The same without skipping calls.
    void pumpifdue();
    // Processes pending events now (the greyed or re-enabled commands must be painted).
    void pumpnow();

    // Statistics since the last reset: passes and the longest time between the end of one pass
    // and the start of the next (or now, for the time since the last pass).
    void resetstats();
    int64_t passes() const { return passes_; }
    std::chrono::microseconds longestgap() const;

  private:
    static constexpr uint32_t kCallMask = 7;

    std::chrono::microseconds interval_;
    uint32_t calls_ = 0;
    Wall::time_point last_;
    int64_t passes_ = 0;
    Wall::duration longest_{};
};

// Real time whose long sleeps keep the window alive: a sleep longer than the pump's interval is
// slept in slices with a yield between them. A wait only ever gets longer by this, never
// shorter, which is the safe side for a chip.
class PumpingClock final : public Clock {
  public:
    PumpingClock(Clock& base, EventPump& pump) : base_(base), pump_(pump) {}

    std::chrono::microseconds now() override { return base_.now(); }
    void sleep(std::chrono::microseconds duration) override;

  private:
    Clock& base_;
    EventPump& pump_;
};

}  // namespace qm::gui
