#pragma once

#include <chrono>

#include "host/clock.h"

namespace qm {

// The time a simulated chip sees behind a simulated USB cable: the host's clock plus how far the
// current USB transfer has got. A transfer is worked through at once, but each of its pin bytes
// happens later than the one before; the cable moves the offset byte by byte and sleeps the
// whole transfer's time on the host's clock when it is done, so the chip's timing checks see
// every line change at its true time while a real-time clock is slept on once per transfer.
class LineClock final : public Clock {
  public:
    explicit LineClock(Clock& base) : base_(base) {}

    std::chrono::microseconds now() override { return base_.now() + offset_; }
    void sleep(std::chrono::microseconds duration) override { base_.sleep(duration); }

    void setoffset(std::chrono::microseconds offset) { offset_ = offset; }
    Clock& base() { return base_; }

  private:
    Clock& base_;
    std::chrono::microseconds offset_{0};
};

}  // namespace qm
