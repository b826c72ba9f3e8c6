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

uint32_t g_sleptMs = 0;
void counting_sleep(uint32_t ms) { g_sleptMs += ms; }
cal_time fixed_now() { return cal_time{7, 0}; }

// The board hands its thread layer's sleep down to the default seam; an
// installed seam still sleeps its own way.
TEST(DefaultClock, SleepsThroughTheSleepTheBoardInstalled)
{
    time_seam_install(nullptr);
    time_default_sleep_install(counting_sleep);
    time_sleep_ms(3);
    EXPECT_EQ(g_sleptMs, 3u);
    const time_seam own{fixed_now, [](uint32_t) {}};
    time_seam_install(&own);
    time_sleep_ms(5);
    EXPECT_EQ(g_sleptMs, 3u);
    time_seam_install(nullptr);
    time_default_sleep_install(nullptr);
    time_sleep_ms(1);
    EXPECT_EQ(g_sleptMs, 3u) << "nullptr puts the plain sleep back";
}

}  // namespace
