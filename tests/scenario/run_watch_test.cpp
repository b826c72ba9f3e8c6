// The watch over a file's run, on a clock the test moves: the time-out, the
// progress reports after the first 2 s, and a stop that stays a stop.

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "scenario/run/run_watch.h"

namespace {

TEST(RunWatch, TimesOutAndReportsProgressByTheWallClock)
{
    const struct {
        double timeout;
        std::vector<double> clock;  // the clock at each virtual ms asked
        int stopsAt;                // index of the first stop, -1 for none
        int progress;               // reports given up to then
    } cases[] = {
        {0, {0, 1, 1.9, 100, 1000}, -1, 2},                // no time-out: progress at 2 s, then every 0.25 s
        {1.5, {0, 1, 1.49, 1.5, 1.6}, 3, 0},               // stops at the time-out, before any progress
        {5, {0, 2.0, 2.1, 2.25, 2.26, 4.99, 5, 6}, 6, 3},  // reports at 2, 2.25 and 4.99 s, then stops
    };
    for (const auto& c : cases) {
        size_t tick = 0;
        CRunWatch watch(c.timeout, [&] { return c.clock[std::min(tick, c.clock.size() - 1)]; });
        int progress = 0;
        watch.m_onProgress = [&](int line, uint64_t ms) {
            EXPECT_EQ(line, 7);
            EXPECT_EQ(ms, tick);
            ++progress;
        };
        int stoppedAt = -1;
        for (tick = 1; tick < c.clock.size() && stoppedAt < 0; ++tick)
            for (uint32_t ms = 0; ms < CRunWatch::CLOCK_EVERY_MS && stoppedAt < 0; ++ms)
                if (watch.Stop(7, tick))
                    stoppedAt = static_cast<int>(tick);
        EXPECT_EQ(stoppedAt, c.stopsAt) << "time-out " << c.timeout;
        EXPECT_EQ(progress, c.progress) << "time-out " << c.timeout;
        EXPECT_EQ(watch.Why(), c.stopsAt < 0 ? CRunWatch::NONE : CRunWatch::TIMED_OUT);
        if (stoppedAt >= 0) {
            EXPECT_TRUE(watch.Stop(7, tick)) << "a stopped run stays stopped";
        }
    }
}

}  // namespace
