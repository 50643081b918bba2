#include "host/virtualclock.h"

#include <gtest/gtest.h>

namespace qm {
namespace {

TEST(VirtualClock, EndlessMaximalWaitsStopAtTheLastTimeInsteadOfWrapping) {
    VirtualClock clock;
    const auto longest = std::chrono::milliseconds(std::numeric_limits<int32_t>::max());
    std::chrono::microseconds before = clock.now();
    for (int i = 0; i < 5'000'000; ++i) {
        clock.sleep(longest);
        ASSERT_GE(clock.now(), before) << "after wait " << i;
        before = clock.now();
    }
    EXPECT_EQ(clock.now(), std::chrono::microseconds::max());
    clock.sleep(std::chrono::microseconds(-5));
    EXPECT_EQ(clock.now(), std::chrono::microseconds::max());
}

}  // namespace
}  // namespace qm
