// An opened cover suspends the running programme; once it is closed again the
// programme's timers go on in the programme's own clock, each with the time it
// had left: the time spent open does not count. The assembled simulator in
// virtual time, driven by clicks on the panel.

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "board/port_bytes.h"
#include "firmware/fw_main.h"
#include "firmware/fw_timers.h"
#include "sim/counting_beep.h"
#include "sim/virtual_simulator.h"
#include "support/trace_log.h"

namespace {

std::string name(port_signal signal) { return CTraceLog::NameOf(signal); }

// Shown state numbers.
constexpr int32_t STANDBY = 3, COVER_OPEN = 4, WASHING = 5, CUTTING = 6, DRYING = 7;

class InterruptionClock : public ::testing::Test {
protected:
    void SetUp() override { m_sim.Startup(); }

    CTraceLog& Time() { return m_log; }

    // Runs until the condition holds; fails the test when it does not within limitMs.
    void RunTo(uint64_t limitMs, const std::function<bool()>& done, const char* what)
    {
        ASSERT_TRUE(m_sim.RunFor(limitMs, done)) << what;
    }

    // Power on, then open and close the cover in standby: washing begins.
    void StartWashing()
    {
        m_sim.RunFor(50);
        m_sim.ClickAt(m_sim.Now() + 1, CVirtualSimulator::POWER_KEY);
        RunTo(
            1000, [] { return state_number == STANDBY; }, "standby");
        m_sim.ClickAt(m_sim.Now() + 1, CVirtualSimulator::COVER, 50);
        RunTo(
            500, [] { return state_number == COVER_OPEN; }, "cover open in standby");
        m_sim.ClickAt(m_sim.Now() + 1, CVirtualSimulator::COVER, 50);
        RunTo(
            500, [] { return state_number == WASHING; }, "washing");
    }

    // Opens the cover now and closes it openMs later; returns the virtual time
    // at which the interrupted state is shown again.
    uint64_t CoverOpenFor(uint64_t openMs)
    {
        const int32_t interrupted = state_number;
        m_sim.ClickAt(m_sim.Now() + 1, CVirtualSimulator::COVER, 50);
        EXPECT_TRUE(m_sim.RunFor(500, [] { return state_number == COVER_OPEN; }));
        m_sim.ClickAt(m_sim.Now() + openMs, CVirtualSimulator::COVER, 50);
        EXPECT_TRUE(m_sim.RunFor(openMs + 500, [=] { return state_number == interrupted; }));
        return m_sim.Now();
    }

    // Milliseconds from fromMs until the signal next became `value`; -1 when it never did.
    double Until(const std::string& name, uint64_t fromMs, int32_t value = 1)
    {
        const uint64_t at = Time().FirstTime(name, value, fromMs);
        return at == UINT64_MAX ? -1.0 : static_cast<double>(at - fromMs);
    }

    // How long the signal was on between the two times.
    uint64_t OnTime(const std::string& name, uint64_t fromMs, uint64_t toMs)
    {
        uint64_t total = 0;
        uint64_t since = Time().ValueAt(name, fromMs) ? fromMs : 0;
        for (const auto& change : Time().Changes(name, fromMs, toMs)) {
            if (change.value && !since)
                since = change.timeMs;
            else if (!change.value && since) {
                total += change.timeMs - since;
                since = 0;
            }
        }
        return since ? total + (toMs - since) : total;
    }

    CCountingBeep m_beep;
    CVirtualSimulator m_sim;
    CTraceLog m_log{m_sim.Time()};
};

// The disk homes toward RS from the middle, 25 steps of 100 ms; a cover
// opened 1 s into it for 10 s leaves the travel's step count where it stood.
TEST_F(InterruptionClock, AHomingTravelResumesWithItsTimeOutCountWhereItStood)
{
    StartWashing();
    RunTo(
        2000, [] { return sig_read(DISK_MOT_A) == 1 && disk_timer.repeats_done >= 10; }, "homing travel");
    const int steps = disk_timer.repeats_done;
    const uint64_t resumed = CoverOpenFor(10000);
    EXPECT_NEAR(disk_timer.repeats_done, steps, 1) << "no steps made up for the time open";
    m_sim.RunFor(500);
    EXPECT_NEAR(disk_timer.repeats_done, steps + 5, 1) << "one step per 100 ms after the resumption";
    EXPECT_EQ(sig_read(DISK_MOT_A), 1) << "the drive runs on toward RS";
    m_sim.RunFor(1500);
    EXPECT_NEAR(Until(name(DISK_MOT_A), resumed, 0), 1500.0, 200.0) << "the disk arrives with its 1.5 s left";
}

// The cover opened for 5 s during homing, and again for 1 s from 0.5 s into
// the main motor's first 2 s pause.
TEST_F(InterruptionClock, TheMainMotorPauseAndTheMainFanKeepTheirOwnRunningTime)
{
    StartWashing();
    RunTo(
        2000, [] { return sig_read(DISK_MOT_A) == 1; }, "homing travel");
    m_sim.RunFor(1000);
    CoverOpenFor(5000);
    RunTo(
        20000, [] { return sig_read(MAIN_FAN) == 1; }, "washing's timed part");
    const uint64_t timed = m_sim.Now();
    RunTo(
        6000, [] { return sig_read(MAIN_MOTOR) == 0; }, "the first pause");
    m_sim.RunFor(500);
    const uint64_t resumed = CoverOpenFor(1000);

    EXPECT_EQ(sig_read(MAIN_MOTOR), 0) << "opened in a pause: not restarted at once";
    m_sim.RunFor(2000);
    EXPECT_NEAR(Until(name(MAIN_MOTOR), resumed), 1500.0, 20.0)
        << "the main motor restarts after the rest of its pause";

    RunTo(
        300000, [] { return state_number == STANDBY; }, "the cycle ends in standby");
    m_sim.RunFor(1000);
    const uint64_t cutting = Time().FirstTime("state_number", CUTTING, timed);
    ASSERT_NE(cutting, UINT64_MAX);
    EXPECT_NEAR(static_cast<double>(OnTime(name(MAIN_FAN), timed, cutting)), 20000.0, 20.0)
        << "the main fan runs 20 s of its own running time";
    EXPECT_EQ(Time().ValueAt(name(MAIN_FAN), cutting + 1), 0) << "off in cutting";
    EXPECT_TRUE(Time().TimesOf(name(MAIN_FAN), 1, cutting).empty()) << "and not on again";
    EXPECT_EQ(sig_read(MAIN_FAN), 0) << "off in standby";
    EXPECT_EQ(m_sim.View().m_fanMain.m_running.load(), 0);
}

// The cover opened 1 s into drying's first 3 s water pulse, for 4 s.
TEST_F(InterruptionClock, DryingResumesItsWaterPulseAndRedBlinkWhereTheyStood)
{
    StartWashing();
    RunTo(
        200000, [] { return state_number == DRYING && sig_read(WATER_SOL) == 1; }, "drying heats");
    m_sim.RunFor(1000);
    const uint64_t resumed = CoverOpenFor(4000);
    m_sim.RunFor(3000);

    EXPECT_EQ(Time().ValueAt(name(WATER_SOL), resumed + 5), 1) << "the water opens again";
    EXPECT_NEAR(Until(name(WATER_SOL), resumed, 0), 2000.0, 20.0) << "and closes after the 2 s its pulse had left";

    const auto blink = Time().Changes(name(RED_LED), resumed + 1, resumed + 3000);
    ASSERT_GE(blink.size(), 9u) << "the red lamp blinks on";
    EXPECT_LE(blink[0].timeMs - resumed, 300u) << "its first change within the step it stood in";
    for (size_t i = 1; i < blink.size(); ++i)
        EXPECT_NEAR(static_cast<double>(blink[i].timeMs - blink[i - 1].timeMs), 300.0, 4.0) << "change " << i;
    EXPECT_EQ(state_number, DRYING);
}

}  // namespace
