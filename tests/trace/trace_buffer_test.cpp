// The trace's ring: values at any moment through the checkpoints, also after
// the oldest changes gave way.

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <vector>

#include "trace/trace_buffer.h"

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

// What the summary gives for a stretch of changes is what the changes
// themselves give: stretches of every length and place, from a ring filled
// once and from one that has wrapped many times (its buckets written over).
TEST(TraceBuffer, FoldingAStretchAgreesWithItsChangesAlsoAfterTheRingWraps)
{
    CTraceBuffer trace(4 * CTraceBuffer::BLOCK);
    std::mt19937 random(7);
    for (int c = 0; c < 3; ++c)
        trace.AddChannel("c" + std::to_string(c), c == 0, 0);
    uint64_t t = 0;
    for (const uint64_t writes : {3000u, 50'000u}) {
        for (uint64_t n = 0; n < writes; ++n)
            trace.Set(static_cast<int>(random() % 3), ++t, static_cast<int32_t>(random() % 200) - 100);
        for (int round = 0; round < 400; ++round) {
            const uint64_t held = trace.End() - trace.First();
            const uint64_t from = trace.First() + random() % held;
            const uint64_t to = from + random() % (trace.End() - from + 1);
            std::vector<CTraceSummary::CSpan> folded(3);
            std::vector<CTraceSummary::CSpan> plain(3);
            trace.Fold(from, to, folded.data());
            for (uint64_t i = from; i < to; ++i)
                plain[trace.At(i).channel].Add(trace.At(i).value);
            for (int c = 0; c < 3; ++c) {
                ASSERT_EQ(folded[c].Changed(), plain[c].Changed()) << from << ".." << to << " channel " << c;
                if (plain[c].Changed()) {
                    ASSERT_EQ(std::tie(folded[c].low, folded[c].high, folded[c].last),
                              std::tie(plain[c].low, plain[c].high, plain[c].last))
                        << from << ".." << to << " channel " << c;
                }
            }
        }
    }
}

}  // namespace
