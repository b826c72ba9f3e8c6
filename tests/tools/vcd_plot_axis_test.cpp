// The trace plot's time axis: round steps that leave each label its room,
// from a few ms to many hours, labelled in the step's own unit.

#include <gtest/gtest.h>

#include "tools/vcd_plot.h"

namespace {

TEST(VcdPlotAxis, RoundStepsLabelledInTheirUnitAndNeverCrowded)
{
    struct {
        uint64_t endMs;
        int pixels;
        uint64_t step;
        uint64_t tickMs;
        const char* label;
    } const cases[] = {
        {9, 1258, 1, 7, "7 ms"},
        {1500, 1258, 100, 1200, "1200 ms"},
        {153000, 1258, 10000, 150000, "150 s"},  // the whole cycle: a tick every 10 s
        {2500000, 1258, 300000, 2100000, "35 min"},
        {36000000, 1258, 3600000, 36000000, "10 h"},  // ten hours: one tick an hour
        {36000000, 400, 7200000, 28800000, "8 h"},
        {30ull * 86400000, 1258, 2ull * 86400000, 4ull * 86400000, "96 h"},
    };
    for (const auto& c : cases) {
        const uint64_t step = CVcdPlot::TickStep(c.endMs, c.pixels);
        EXPECT_EQ(step, c.step) << c.endMs << " ms over " << c.pixels << " pixels";
        EXPECT_LE(c.endMs / step * CVcdPlot::MIN_TICK_PIXELS, static_cast<uint64_t>(c.pixels))
            << "labels crowd each other at " << c.endMs << " ms";
        EXPECT_EQ(CVcdPlot::TickLabel(c.tickMs, step), c.label);
    }
}

}  // namespace
