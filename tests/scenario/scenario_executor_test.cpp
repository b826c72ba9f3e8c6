// The executor plays a scenario in slices of virtual time, as the workbench
// replays it frame by frame: every slicing gives the verdicts of one go, at
// the same virtual times.

#include <gtest/gtest.h>

#include "scenario/language/scenario_parser.h"
#include "scenario/run/scenario_executor.h"
#include "sim/counting_beep.h"
#include "sim/virtual_simulator.h"

namespace {

// Power on, a cover interruption, a reset: waits, clicks, run-untils,
// expect-fors and a reset-cpu that slices cut through.
const char* const SCENARIO =
    "wait 50\n"
    "click 전원\n"
    "click 전원\n"
    "click 전원\n"
    "run-until state 3 within 1000 after 3\n"  // fails: 2 ms after the third release
    "expect signal RED_LED 1\n"
    "click 커버 hold 250\n"
    "run-until state 4 within 500\n"
    "expect-for 777 not state 5\n"
    "expect-for 50 state 3\n"  // fails at once, and time runs on
    "wait 457\n"
    "expect readout run_sec \"run_sec: 2\"\n"
    "click 커버\n"
    "run-until state 5 within 500\n"
    "fault motor disk jammed\n"
    "run-until signal MAIN_MOTOR 1 within 5\n"  // fails: the limit passes
    "expect-for 300 motor disk 48\n"
    "reset-cpu\n"
    "expect state 1\n"
    "expect beeps 1..3\n";

std::vector<CScenarioResult> play(uint64_t sliceMs, int* slices = nullptr)
{
    CScenarioParser parser;
    EXPECT_TRUE(parser.Parse(SCENARIO)) << parser.ErrorMessage("t");
    CCountingBeep beep;
    CVirtualSimulator sim;
    CScenarioExecutor executor(sim, parser.Steps());
    int told = 0;
    executor.m_onResult = [&told](const CScenarioResult&) { ++told; };
    int count = 1;
    while (executor.Advance(sliceMs)) {
        ++count;
        EXPECT_LE(sim.Now(), 100000u);
    }
    EXPECT_TRUE(executor.Finished());
    EXPECT_EQ(executor.CurrentLine(), 0);
    EXPECT_EQ(told, static_cast<int>(executor.Results().size())) << "each verdict is told as it comes";
    if (slices)
        *slices = count;
    return executor.Results();
}

TEST(ScenarioExecutor, SlicesOfAnySizeGiveTheVerdictsOfOneGo)
{
    int slices = 0;
    const std::vector<CScenarioResult> whole = play(UINT64_MAX, &slices);
    ASSERT_EQ(whole.size(), 11u);
    EXPECT_EQ(slices, 1);
    for (size_t i = 0; i < whole.size(); ++i)
        EXPECT_EQ(whole[i].held, i != 0 && i != 4 && i != 7) << whole[i].what << "; seen " << whole[i].seen;
    for (uint64_t slice : {1u, 37u, 100u, 4999u}) {
        const std::vector<CScenarioResult> sliced = play(slice, &slices);
        ASSERT_EQ(sliced.size(), whole.size()) << "slices of " << slice;
        EXPECT_GT(slices, 1);
        for (size_t i = 0; i < whole.size(); ++i) {
            EXPECT_EQ(sliced[i].line, whole[i].line) << "slices of " << slice;
            EXPECT_EQ(sliced[i].timeMs, whole[i].timeMs) << "slices of " << slice << ", line " << whole[i].line;
            EXPECT_EQ(sliced[i].held, whole[i].held) << "slices of " << slice << ", line " << whole[i].line;
            EXPECT_EQ(sliced[i].seen, whole[i].seen) << "slices of " << slice << ", line " << whole[i].line;
        }
    }
}

TEST(ScenarioExecutor, ASliceEndsWhenItsBudgetIsUsed)
{
    CScenarioParser parser;
    ASSERT_TRUE(parser.Parse("wait 500\nexpect state 2\nwait 500\n"));
    CVirtualSimulator sim;
    CScenarioExecutor executor(sim, parser.Steps());
    const uint64_t start = sim.Now();
    EXPECT_TRUE(executor.Advance(300));
    EXPECT_EQ(sim.Now(), start + 301) << "started at its first sleep, then 300 ms";
    EXPECT_EQ(executor.CurrentLine(), 1);
    EXPECT_TRUE(executor.Advance(200));
    EXPECT_EQ(executor.Results().size(), 1u) << "the expectation at the end of the wait came in the same slice";
    EXPECT_EQ(executor.CurrentLine(), 3);
    EXPECT_FALSE(executor.Advance(1000));
    EXPECT_EQ(sim.Now(), start + 1001) << "the slice stops when the scenario ends";
}

}  // namespace
