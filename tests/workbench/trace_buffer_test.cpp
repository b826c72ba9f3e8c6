// The trace's ring: values at any moment through the checkpoints, also after
// the oldest changes gave way, and the time axis's steps and labels.

#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "workbench/model/time_axis.h"
#include "workbench/model/trace_buffer.h"

namespace {

// Two channels changing at their own paces, checked against a plain record
// of every change: before, across and long after the ring's wrap.
TEST(TraceBuffer, ValuesAtEveryMomentAgreeWithAPlainRecordAlsoAfterTheRingWraps)
{
    CTraceBuffer trace(2 * CTraceBuffer::BLOCK);
    const int fast = trace.AddChannel("FAST", true, 0);
    const int slow = trace.AddChannel("slow", false, 7, true);
    std::map<uint64_t, int32_t> fastAt{{0, 0}};
    std::map<uint64_t, int32_t> slowAt{{0, 7}};
    for (uint64_t t = 1; t <= 10'000; ++t) {
        if (t % 2 == 0) {
            trace.Set(fast, t, static_cast<int32_t>(t / 2 % 2));
            fastAt[t] = static_cast<int32_t>(t / 2 % 2);
        }
        if (t % 997 == 0) {
            trace.Set(slow, t, -static_cast<int32_t>(t));
            slowAt[t] = -static_cast<int32_t>(t);
        }
        trace.Set(slow, t, slowAt.rbegin()->second);  // unchanged: not kept
    }
    const auto expected = [](const std::map<uint64_t, int32_t>& at, uint64_t t) {
        return std::prev(at.upper_bound(t))->second;
    };
    EXPECT_EQ(trace.End(), 5000u + 10u) << "only changes are kept";
    EXPECT_EQ(trace.End() - trace.First(), 2 * CTraceBuffer::BLOCK) << "the ring is full";
    const uint64_t known = trace.KnownFromMs();
    EXPECT_GT(known, 5000u);
    for (uint64_t t = known; t <= 10'050; t += 3) {
        ASSERT_EQ(trace.ValueAt(fast, t), expected(fastAt, t)) << "at " << t;
        ASSERT_EQ(trace.ValueAt(slow, t), expected(slowAt, t)) << "at " << t;
    }
    const CTraceBuffer::CValue held = trace.ValueSince(slow, 9'990);
    EXPECT_EQ(held.value, -9'970);
    EXPECT_EQ(held.sinceMs, 9'970u) << "the moment the value was taken";
    EXPECT_EQ(trace.Current(fast), expected(fastAt, 10'000));
    EXPECT_TRUE(trace.IsSigned(slow));
}

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
