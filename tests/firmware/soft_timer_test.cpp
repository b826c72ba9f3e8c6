#include "firmware/soft_timer.h"

#include <vector>

#include "firmware/fw_clock.h"
#include "support/firmware_fixture.h"

namespace {

// A test timer whose steps record their codes; its start procedure knows the
// events 1 (two steps, one pass), 2 (endless), 3 (one step, restarting itself
// at its first call) and 4 (a table the test sets).
std::vector<uint8_t> g_codes;
soft_timer g_timer;
const timer_step_entry TWO_STEPS[] = {{7, 100}, {8, 50}};
const timer_step_entry ONE_STEP[] = {{9, 10}};
const timer_step_entry* g_table = nullptr;
uint8_t g_steps = 0;
bool g_restart = false;
std::vector<bool> g_lastFlags;

void test_start(uint8_t event)
{
    if (event == 1)
        timer_set_sequence(TWO_STEPS, 2, 1);
    else if (event == 2)
        timer_set_sequence(TWO_STEPS, 2, TIMER_ENDLESS);
    else if (event == 3)
        timer_set_sequence(ONE_STEP, 1, 5);
    else if (event == 4)
        timer_set_sequence(g_table, g_steps, 2);
}

void test_step(uint8_t code)
{
    g_codes.push_back(code);
    g_lastFlags.push_back(timer_is_last_step(current_timer));
    if (g_restart) {
        g_restart = false;
        timer_start(current_timer, 3);
    }
}

class SoftTimer : public CFirmwareFixture {
protected:
    void SetUp() override
    {
        g_codes.clear();
        g_lastFlags.clear();
        g_restart = false;
        g_timer = soft_timer{};
        timer_init(&g_timer, test_start, test_step);
        now_ms = 0;
    }
    // Polls at each of the given clock values.
    void PollAt(std::initializer_list<uint32_t> times)
    {
        for (uint32_t t : times) {
            now_ms = t;
            timer_poll(&g_timer);
        }
    }
};

TEST_F(SoftTimer, ATableIsPlayedStepByStepAndTheTimerIdlesAfterTheLastDuration)
{
    timer_start(&g_timer, 1);
    EXPECT_EQ(g_timer.status, TIMER_RUNNING);
    PollAt({0});
    EXPECT_EQ(g_codes, std::vector<uint8_t>({7})) << "the first step runs at the first poll after the start";
    PollAt({99});
    EXPECT_EQ(g_codes.size(), 1u) << "not due before its 100 ms";
    PollAt({100, 149});
    EXPECT_EQ(g_codes, std::vector<uint8_t>({7, 8}));
    EXPECT_EQ(g_timer.status, TIMER_RUNNING) << "the last duration has not passed yet";
    PollAt({150});
    EXPECT_EQ(g_timer.status, TIMER_IDLE) << "idle at the poll after the last step's duration";
    EXPECT_EQ(g_codes.size(), 2u) << "two entries, one pass: two calls";
    EXPECT_EQ(g_lastFlags, std::vector<bool>({false, true})) << "only the final entry is the last step";

    timer_start(&g_timer, 2);
    for (uint32_t t = 150; t < 150 + 150 * 40; t += 50)
        PollAt({t});
    EXPECT_EQ(g_timer.status, TIMER_RUNNING) << "an endless table never stops by itself";
    for (size_t i = 2; i < g_lastFlags.size(); ++i)
        EXPECT_FALSE(g_lastFlags[i]) << "no step of an endless timer is its last";
}

TEST_F(SoftTimer, ALatePollCatchesUpOneStepPerPollWithoutSkipping)
{
    timer_start(&g_timer, 2);
    PollAt({0});
    // 1000 ms late: due times advance from the previous due time.
    PollAt({1000, 1000, 1000, 1000});
    EXPECT_EQ(g_codes, std::vector<uint8_t>({7, 8, 7, 8, 7})) << "one step per poll, in table order";
    EXPECT_EQ(g_timer.due_ms, 400u) << "the due time moves on by the step durations, not from the present";
}

TEST_F(SoftTimer, RestartingFromInsideAStepAppliesTheBookkeepingToTheFreshStart)
{
    timer_start(&g_timer, 1);
    g_restart = true;
    PollAt({0});
    EXPECT_EQ(g_timer.status, TIMER_RUNNING);
    EXPECT_EQ(g_timer.sequence, ONE_STEP) << "the restart chose the new table";
    EXPECT_EQ(g_timer.step_index, 0);
    EXPECT_EQ(g_timer.repeats_done, 1) << "a one-entry table counts the restarting step as a pass";
    EXPECT_EQ(g_timer.due_ms, 0u) << "due at once after the restart";
    PollAt({0, 10, 20, 30});
    EXPECT_EQ(g_codes, std::vector<uint8_t>({7, 9, 9, 9, 9})) << "five passes, the first counted at the restart";
    PollAt({40});
    EXPECT_EQ(g_timer.status, TIMER_IDLE);
}

TEST_F(SoftTimer, AnUnhandledEventKeepsThePreviousTable)
{
    timer_start(&g_timer, 1);
    timer_start(&g_timer, 99);
    EXPECT_EQ(g_timer.sequence, TWO_STEPS);
    EXPECT_EQ(g_timer.step_count, 2);
    EXPECT_EQ(g_timer.repeat_count, 1);
}

TEST_F(SoftTimer, ATimerWithoutATableIdlesWithoutStepping)
{
    timer_start(&g_timer, 99);  // never given a table
    PollAt({0});
    EXPECT_EQ(g_timer.status, TIMER_IDLE) << "no table: idle at the first step";
    EXPECT_TRUE(g_codes.empty()) << "the step procedure is not called without a table";

    g_table = TWO_STEPS;
    g_steps = 0;
    timer_start(&g_timer, 4);
    PollAt({0});
    EXPECT_EQ(g_timer.status, TIMER_IDLE) << "an empty table: idle at the first step";
    EXPECT_TRUE(g_codes.empty());

    // A position beyond the table's end is never read; the pass starts over.
    g_steps = 2;
    timer_start(&g_timer, 4);
    g_timer.step_index = 200;
    PollAt({0});
    EXPECT_EQ(g_codes, std::vector<uint8_t>({7}));
}

TEST_F(SoftTimer, ATimerStartedRightAfterARebaseIsDueAtOnce)
{
    now_ms = 5000;
    clock_restart();
    EXPECT_EQ(now_ms, 0u);
    timer_start(&g_timer, 1);
    EXPECT_EQ(g_timer.due_ms, 0u);
    timer_poll(&g_timer);
    EXPECT_EQ(g_codes.size(), 1u);
}

}  // namespace
