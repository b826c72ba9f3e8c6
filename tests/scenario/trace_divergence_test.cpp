// The checks that tell a mutant's trace from the firmware's as written: where
// each stands in a wait, and that a check made from a real play holds when
// the use is played again with it.

#include <gtest/gtest.h>

#include "scenario/explore/mutant_trial.h"
#include "scenario/explore/trace_divergence.h"

namespace {

const std::vector<std::string> USE = {"click power hold 100", "wait 50", "wait 30"};

// RED_LED, state_number and the beeps; the steps begin at 0, 101 and 151.
CTracedPlay play_of(std::vector<CTracedPlay::CChange> changes)
{
    CTracedPlay play;
    play.channels = {{"ports", "RED_LED", true, false}, {"firmware", "state_number"}, {"panel", "beeps"}};
    play.initial = {1, 3, 0};
    play.changes = std::move(changes);
    play.stepBegin = {0, 101, 151};
    return play;
}

TEST(TraceDivergence, EachCheckStandsInTheWaitWhereTheTracesFirstDiffer)
{
    struct CCase {
        const char* what;
        std::vector<CTracedPlay::CChange> plain, mutant;
        int step;
        uint64_t earliest, end;
        const char* text;
    };
    const CCase cases[] = {
        {"a change one ms late: from the channel's last change, at that very ms",
         {{110, 0, 0}, {120, 0, 1}},
         {{110, 0, 0}, {121, 0, 1}},
         1,
         10,
         20,
         "run-until signal RED_LED 1 within 10 after 10\n"},
        {"a change the written firmware does not make: held through that ms",
         {},
         {{130, 1, 4}},
         1,
         0,
         31,
         "expect-for 31 state 3\n"},
        {"the same on the wait's last ms: the expect-for ends with the wait",
         {},
         {{150, 1, 4}},
         1,
         0,
         50,
         "expect-for 50 state 3\nexpect state 3\n"},
        {"a difference inside the click is passed over for the next in a wait",
         {{50, 0, 0}, {160, 0, 1}},
         {{51, 0, 0}, {160, 0, 0}},
         2,
         0,
         10,
         "run-until signal RED_LED 1 within 10 after 10\n"},
        {"a value parted in the click and still apart: held at the wait's start",
         {{50, 0, 0}},
         {},
         1,
         0,
         2,
         "expect-for 2 signal RED_LED 0\n"},
        {"a beep two ms late: counted from the use's start",
         {{120, 2, 1}},
         {{122, 2, 1}},
         1,
         0,
         20,
         "run-until beeps 1 within 20 after 20\n"},
    };
    for (const CCase& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<CCheckpoint> checks = CTraceDivergence::Checks(play_of(c.plain), play_of(c.mutant), USE, 1);
        ASSERT_EQ(checks.size(), 1u);
        EXPECT_EQ(checks[0].step, c.step);
        EXPECT_EQ(checks[0].earliestMs, c.earliest);
        EXPECT_EQ(checks[0].endMs, c.end);
        EXPECT_EQ(checks[0].Text(), c.text);
        CCheckpoint back;
        ASSERT_TRUE(back.Parse(checks[0].Serialize()));
        EXPECT_EQ(back.Text(), c.text);
    }
}

TEST(TraceDivergence, ChecksSplitTheirWaitsAndTheUseIsCutAfterTheLast)
{
    CCheckpoint early{1, 10, 10, 20, CCheckpoint::CHANGES, "state 4"};
    CCheckpoint late{1, 25, 30, 35, CCheckpoint::HOLDS, "state 4"};
    EXPECT_EQ(CMutantTrial::WithChecks(USE, {late, early}),
              (std::vector<std::string>{"click power hold 100", "wait 10", "run-until state 4 within 10 after 10",
                                        "wait 10", "expect-for 5 state 4"}));
    CCheckpoint end{CCheckpoint::END, 0, 0, 0, CCheckpoint::ENDS, "expect state 4\nexpect lamp red on\n"};
    EXPECT_EQ(CMutantTrial::WithChecks(USE, {end, early}),
              (std::vector<std::string>{"click power hold 100", "wait 10", "run-until state 4 within 10 after 10",
                                        "wait 30", "wait 30", "expect state 4", "expect lamp red on"}));
    // Beeps are counted from the use's start; a closing `expect beeps` starts the count again.
    CCheckpoint two{1, 0, 0, 50, CCheckpoint::HOLDS_LAST, "beeps 2"};
    CCheckpoint three{2, 0, 0, 5, CCheckpoint::CHANGES, "beeps 3"};
    EXPECT_EQ(CMutantTrial::WithChecks(USE, {three, two}),
              (std::vector<std::string>{"click power hold 100", "expect-for 50 beeps 2", "expect beeps 2",
                                        "run-until beeps 1 within 5 after 5"}));
}

TEST(TraceDivergence, ChecksOfOneUseTakeTheirTurnsInAWait)
{
    using C = CCheckpoint;
    const std::vector<C> checks = {
        {1, 0, 0, 40, C::CHANGES, "signal GREEN_LED 0"},  // 0: from the wait's start to 40
        {1, 5, 0, 30, C::CHANGES, "signal HEATER 1"},     // 1: ends first, so goes first
        {1, 5, 0, 30, C::CHANGES, "signal HEATER 1"},     // 2: the same check: merged with 1
        {1, 0, 0, 31, C::HOLDS, "state 5"},               // 3: must begin by 29, but 1 ends at 30: no room
        {2, 0, 0, 3, C::HOLDS, "state 5"},                // 4: the next wait: room again
        {C::END, 0, 0, 0, C::ENDS, "expect state 5\n"},   // 5, 6: the end's expectations, once
        {C::END, 0, 0, 0, C::ENDS, "expect state 5\n"},
    };
    std::vector<bool> placed;
    const std::vector<C> written = CTraceDivergence::Place(checks, placed);
    EXPECT_EQ(placed, (std::vector<bool>{true, true, true, false, true, true, true}));
    std::vector<std::string> texts;
    for (const C& check : written)
        texts.push_back(check.Text());
    EXPECT_EQ(texts, (std::vector<std::string>{"run-until signal HEATER 1 within 25 after 25\n",
                                               "run-until signal GREEN_LED 0 within 10 after 10\n",
                                               "expect-for 3 state 5\n", "expect state 5\n"}));
}

// Every change of a real play, made one ms late in a copy: each check made
// from it holds on the firmware as written, at that very ms. The play comes
// back whole from its text.
TEST(TraceDivergence, ChecksMadeFromARealPlayHoldWhenItIsPlayedAgain)
{
    const std::vector<std::string> use = {"wait 1200", "click power", "wait 3000", "click cover", "wait 2500"};
    const CTracedPlay plain = CMutantTrial::Play(use, true);
    ASSERT_EQ(plain.code, 0);
    CTracedPlay back;  // as it comes back from a mutant's own process
    ASSERT_TRUE(back.Parse(plain.Serialize()));
    EXPECT_EQ(back.Serialize(), plain.Serialize());
    EXPECT_EQ(back.expectations, plain.expectations);
    EXPECT_FALSE(back.Parse(plain.Serialize().substr(0, 200)));
    int checked = 0;
    for (size_t i = 0; i < plain.changes.size(); i += 11) {
        CTracedPlay late = plain;
        late.changes[i].ms += 1;
        for (const CCheckpoint& check : CTraceDivergence::Checks(plain, late, use, 1)) {
            const std::vector<std::string> lines = CMutantTrial::WithChecks(use, {check});
            SCOPED_TRACE(check.Text());
            EXPECT_EQ(CMutantTrial::Play(lines, false).code, 0);
            ++checked;
        }
    }
    EXPECT_GT(checked, 5);
}

}  // namespace
