// The time axis's steps and labels: ticks as dense as their labels allow,
// labels as precise as their step.

#include <gtest/gtest.h>

#include "workbench/model/time_axis.h"

namespace {

TEST(TimeAxis, TicksAsDenseAsLabelsAllowAndLabelsAsPreciseAsTheirStep)
{
    const struct {
        double spanMs;
        int width;
        uint64_t step;
    } steps[] = {
        {10, 600, 2},
        {1000, 600, 200},
        {10'000, 600, 2000},
        {45'000, 600, 10'000},
        {600'000, 600, 120'000},
        {86'400'000, 600, 21'600'000},  // a day: six-hour ticks, not 24 crowded hourly ones
    };
    for (const auto& s : steps)
        EXPECT_EQ(CTimeAxis::TickStep(s.spanMs, s.width, 90), s.step) << s.spanMs << " ms over " << s.width;

    const struct {
        uint64_t time;
        uint64_t step;
        const char* label;
    } labels[] = {
        {65'237, 1, "1:05.237"}, {65'230, 10, "1:05.23"},       {65'200, 100, "1:05.2"},
        {65'000, 5000, "1:05"},  {3'600'000, 600'000, "60:00"},
    };
    for (const auto& l : labels)
        EXPECT_EQ(CTimeAxis::Label(l.time, l.step), l.label);
    EXPECT_EQ(CTimeAxis::SignedLabel(-5000, 1000), "-0:05") << "before 0:00";
    EXPECT_EQ(CTimeAxis::SignedLabel(65'200, 100), "1:05.2");
}

}  // namespace
