#include "firmware/fw_clock.h"

#include "support/firmware_fixture.h"

namespace {

class Clock : public CFirmwareFixture {};

TEST_F(Clock, ReadsMillisecondsAcrossASecondBoundary)
{
    time_sleep_ms(900);
    clock_rebase();  // the base: START_SECOND + 900 ms
    time_sleep_ms(1100);
    EXPECT_EQ(clock_read_ms(), 1100u) << "(0 - 900) ms borrows from the two seconds";
}

TEST_F(Clock, RebaseAndRunSecondsCountFromTheirBases)
{
    time_sleep_ms(1500);  // calendar time START_SECOND + 1.5 s
    now_ms = 0;
    clock_rebase();
    EXPECT_EQ(now_ms, 0u) << "0 until the next update";
    time_sleep_ms(250);
    EXPECT_EQ(now_ms, 0u);
    clock_update();
    EXPECT_EQ(now_ms, 250u);

    // The run-seconds base was taken at START_SECOND + 1.75 s: whole calendar
    // seconds count, so the first one lasts 250 ms.
    EXPECT_EQ(run_sec_started, 1);
    EXPECT_EQ(run_sec, 0);
    time_sleep_ms(249);
    clock_update();
    EXPECT_EQ(run_sec, 0);
    time_sleep_ms(1);
    clock_update();
    EXPECT_EQ(run_sec, 1) << "the first second ends at the next calendar second";
    time_sleep_ms(1000);
    clock_update();
    EXPECT_EQ(run_sec, 2);

    run_sec_restart();
    EXPECT_EQ(run_sec, 0);
    time_sleep_ms(999);
    clock_update();
    EXPECT_EQ(run_sec, 0) << "a restarted count takes a new base at the next update";
}

// A suspended programme's clock resumes at its reading: the base moves back by
// the reading, borrowing a second when the millisecond field is too small.
TEST_F(Clock, RebaseToAReadingMovesTheBaseBackAcrossTheMillisecondField)
{
    const struct {
        uint64_t atMs;  // virtual time; its millisecond field is atMs % 1000
        uint32_t reading;
    } cases[] = {
        {0, 0}, {1, 999}, {250, 100}, {260, 1900} /* 260 - 900 borrows a second */, {2000, 70000},
    };
    for (const auto& c : cases) {
        time_sleep_ms(static_cast<uint32_t>(c.atMs - m_harness.Now()));
        clock_rebase_to(c.reading);
        EXPECT_EQ(now_ms, c.reading);
        EXPECT_EQ(clock_read_ms(), c.reading) << "the base read back, at " << c.atMs;
    }
    time_sleep_ms(1234);
    clock_update();
    EXPECT_EQ(now_ms, 70000u + 1234u) << "the clock counts on from the reading";
}

TEST_F(Clock, YieldSleepsOneMillisecondAndDelayDoesNotWait)
{
    clock_restart();
    delay_ms(500);
    EXPECT_EQ(m_harness.Now(), 0u) << "delay_ms returns at once";
    fw_yield();
    EXPECT_EQ(m_harness.Now(), 1u);
    EXPECT_EQ(now_ms, 1u) << "fw_yield updates the clock after its sleep";
}

}  // namespace
