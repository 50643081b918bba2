#include "gui/app/eventpump.h"

#include <QCoreApplication>

#include <algorithm>

namespace qm::gui {

EventPump::EventPump(std::chrono::microseconds interval)
    : interval_(interval), last_(Wall::now()) {}

void EventPump::pumpifdue() {
    if (Wall::now() - last_ < interval_) return;
    pumpnow();
}

void EventPump::pumpnow() {
    const Wall::time_point start = Wall::now();
    longest_ = std::max(longest_, start - last_);
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    ++passes_;
    last_ = Wall::now();
}

void EventPump::resetstats() {
    passes_ = 0;
    longest_ = {};
    last_ = Wall::now();
}

std::chrono::microseconds EventPump::longestgap() const {
    return std::chrono::duration_cast<std::chrono::microseconds>(
        std::max(longest_, Wall::now() - last_));
}

void PumpingClock::sleep(std::chrono::microseconds duration) {
    const std::chrono::microseconds deadline = base_.now() + duration;
    for (;;) {
        const std::chrono::microseconds remaining = deadline - base_.now();
        if (remaining.count() <= 0) return;
        base_.sleep(std::min(remaining, pump_.interval()));
        pump_.pumpifdue();
    }
}

}  // namespace qm::gui
