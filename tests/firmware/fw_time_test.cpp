#include "firmware/fw_time.h"

#include <chrono>
#include <thread>

#include <gtest/gtest.h>

namespace {

int64_t to_ms(cal_time t) { return int64_t{t.sec} * 1000 + t.ms; }

// Without a seam installed, calendar time is the monotonic clock, so setting
// the system clock can't end a phase early.
TEST(DefaultClock, FollowsTheMonotonicClock)
{
    time_seam_install(nullptr);
    using namespace std::chrono;
    const int64_t steady = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    const cal_time before = time_now();
    EXPECT_LT(before.ms, 1000);
    EXPECT_NEAR(static_cast<double>(to_ms(before)), static_cast<double>(steady), 50.0)
        << "time_now reads std::chrono::steady_clock";
    std::this_thread::sleep_for(milliseconds(20));
    EXPECT_GE(to_ms(time_now()) - to_ms(before), 20) << "and advances with it";
}

}  // namespace
