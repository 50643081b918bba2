#include "host/systemclock.h"

#include <thread>

namespace qm {

std::chrono::microseconds SystemClock::now() {
    return std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now().time_since_epoch());
}

void SystemClock::sleep(std::chrono::microseconds duration) {
    if (duration.count() > 0) std::this_thread::sleep_for(duration);
}

}  // namespace qm
