#include "firmware/fw_cycle.h"

#include "firmware/fw_clock.h"
#include "firmware/fw_events.h"
#include "firmware/fw_main.h"
#include "firmware/fw_timers.h"
#include "support/firmware_fixture.h"

namespace {

std::string N(port_signal s) { return CTraceLog::NameOf(s); }

class Cycle : public CFirmwareFixture {
protected:
    uint64_t Entered(int32_t state, uint64_t fromMs = 0) const
    {
        return m_log.FirstTime("state_number", state + 1, fromMs);
    }
    uint64_t Rise(port_signal s, uint64_t fromMs) const { return m_log.FirstTime(N(s), 1, fromMs); }
    uint64_t Fall(port_signal s, uint64_t fromMs) const { return m_log.FirstTime(N(s), 0, fromMs); }
    int32_t At(port_signal s, uint64_t timeMs) const { return m_log.ValueAt(N(s), timeMs); }
    // Every output the firmware drives is off.
    void ExpectAllOutputsOff(const char* when) const
    {
        const port_signal outputs[] = {HEATER_FAN, COOLING_FAN, GREEN_LED,  BLUE_LED,   MAIN_FAN, MAIN_MOTOR, RELAY,
                                       DISK_MOT_A, DISK_MOT_B,  EXIT_MOT_A, EXIT_MOT_B, RED_LED,  WATER_SOL,  HEATER};
        for (port_signal s : outputs)
            EXPECT_EQ(sig_read(s), 0) << N(s) << " off " << when;
    }
    // The timed part of a phase lasts 30 counted seconds, the first of them short.
    static void ExpectPhaseSeconds(uint64_t fromMs, uint64_t toMs, const char* phase)
    {
        EXPECT_GT(toMs - fromMs, 29000u) << phase;
        EXPECT_LE(toMs - fromMs, 30010u) << phase;
    }
};

constexpr double SLACK_MS = 110.0;  // one 100 ms end-switch watch, and a few ms of pace

TEST_F(Cycle, OneWholeCycleFromClosingTheCoverToStandby)
{
    StartToStandby();
    const uint64_t t = m_harness.Now();
    SetInputAt(t + 100, RUN_KEY, true);
    SetInputAt(t + 1100, RUN_KEY, false);
    m_harness.RunUntil(t + 200000);

    // Phases in order.
    const uint64_t washing = Entered(ST_WASHING, t);
    const uint64_t cutting = Entered(ST_CUTTING, washing);
    const uint64_t drying = Entered(ST_DRYING, cutting);
    const uint64_t discharge = Entered(ST_DISCHARGE, drying);
    const uint64_t standby = Entered(ST_STANDBY, discharge);
    ASSERT_NEAR(static_cast<double>(washing), static_cast<double>(t + 1100), 3.0) << "washing on closing";
    ASSERT_LT(standby, t + 200000) << "the cycle ends in standby";

    // Washing: home the disk (to RS) and exit (to CCW), then the disk to LS.
    EXPECT_EQ(At(BLUE_LED, washing + 10) & At(RED_LED, washing + 10), 1) << "washing shows blue (and red)";
    EXPECT_EQ(At(GREEN_LED, washing + 10), 0);
    const uint64_t diskHome = Fall(DISK_MOT_A, washing);
    const uint64_t exitHome = Fall(EXIT_MOT_A, washing);
    const uint64_t diskAtLs = Fall(DISK_MOT_B, washing);
    EXPECT_NEAR(static_cast<double>(diskHome - washing), 2500.0, SLACK_MS) << "disk from the middle to RS";
    EXPECT_NEAR(static_cast<double>(exitHome - diskHome), 2500.0, SLACK_MS) << "then the exit to CCW";
    EXPECT_NEAR(static_cast<double>(diskAtLs - exitHome), 5000.0, SLACK_MS) << "then the disk to LS";
    const uint64_t timed = Rise(MAIN_MOTOR, washing);
    EXPECT_NEAR(static_cast<double>(timed), static_cast<double>(diskAtLs), 5.0) << "the timed part after LS";
    EXPECT_EQ(Rise(COOLING_FAN, washing), timed);
    EXPECT_EQ(Rise(MAIN_FAN, washing), timed);
    EXPECT_EQ(Fall(MAIN_FAN, washing), timed + 20000) << "the main fan runs 20 s";
    ExpectPhaseSeconds(timed, cutting, "washing");

    // The main motor: 5 s on, 2 s off, the relay reversed at every stop, from
    // washing's timed part to the end of discharge.
    const std::vector<uint64_t> runs = m_log.TimesOf(N(MAIN_MOTOR), 1, washing, standby);
    const std::vector<uint64_t> stops = m_log.TimesOf(N(MAIN_MOTOR), 0, washing, standby);
    ASSERT_GE(runs.size(), 15u);
    ASSERT_EQ(stops.size(), runs.size());
    for (size_t i = 0; i + 1 < runs.size(); ++i) {
        EXPECT_NEAR(static_cast<double>(stops[i] - runs[i]), 5000.0, 3.0) << "run " << i;
        EXPECT_NEAR(static_cast<double>(runs[i + 1] - stops[i]), 2000.0, 3.0) << "pause " << i;
        EXPECT_NE(At(RELAY, stops[i] - 1), At(RELAY, stops[i])) << "relay reversed at stop " << i;
    }
    EXPECT_TRUE(m_log.Changes(N(COOLING_FAN), timed + 1, discharge).empty()) << "cooling fan on throughout";

    // Cutting: green and red; the disk to RS, then 30 s.
    EXPECT_EQ(At(GREEN_LED, cutting + 10) & At(RED_LED, cutting + 10), 1);
    EXPECT_EQ(At(BLUE_LED, cutting + 10), 0);
    const uint64_t cutAtRs = Fall(DISK_MOT_A, cutting);
    EXPECT_NEAR(static_cast<double>(cutAtRs - cutting), 5000.0, SLACK_MS);
    ExpectPhaseSeconds(cutAtRs, drying, "cutting");

    // Drying: red blinking; the disk to LS, then heater, heater fan and water
    // until the reading passes 516 (33 levels of 500 ms).
    EXPECT_GE(m_log.TimesOf(N(RED_LED), 0, drying, discharge).size(), 10u) << "red blinks";
    EXPECT_EQ(At(GREEN_LED, drying + 10) | At(BLUE_LED, drying + 10), 0);
    const uint64_t dryAtLs = Fall(DISK_MOT_B, drying);
    EXPECT_NEAR(static_cast<double>(dryAtLs - drying), 5000.0, SLACK_MS);
    const uint64_t heaterOn = Rise(HEATER, drying);
    EXPECT_NEAR(static_cast<double>(heaterOn), static_cast<double>(dryAtLs), 5.0);
    EXPECT_EQ(Rise(HEATER_FAN, drying), heaterOn);
    EXPECT_EQ(m_log.TimesOf(N(WATER_SOL), 1, drying, discharge),
              std::vector<uint64_t>({heaterOn, heaterOn + 6000, heaterOn + 12000}))
        << "three water pulses";
    EXPECT_EQ(Fall(WATER_SOL, heaterOn + 12000), heaterOn + 15000);
    EXPECT_NEAR(static_cast<double>(Fall(HEATER, heaterOn)), static_cast<double>(discharge), 2.0)
        << "the heater stays on until drying ends";
    EXPECT_NEAR(static_cast<double>(discharge - heaterOn), 16500.0, 5.0);

    // Discharge: green; the exit to CW, then 30 s; then everything stops and
    // both mechanisms go home.
    EXPECT_EQ(At(GREEN_LED, discharge + 10), 1);
    EXPECT_EQ(At(RED_LED, discharge + 10) | At(BLUE_LED, discharge + 10), 0);
    EXPECT_EQ(At(HEATER_FAN, discharge + 10), 1) << "the heater fan runs on";
    const uint64_t exitAtCw = Fall(EXIT_MOT_B, discharge);
    EXPECT_NEAR(static_cast<double>(exitAtCw - discharge), 5000.0, SLACK_MS);
    const uint64_t stopped = Fall(HEATER_FAN, discharge);
    ExpectPhaseSeconds(exitAtCw, stopped, "discharge");
    EXPECT_EQ(Fall(COOLING_FAN, discharge), stopped);
    EXPECT_LE(Fall(MAIN_MOTOR, discharge), stopped);
    EXPECT_EQ(At(RELAY, stopped), 0);
    EXPECT_NEAR(static_cast<double>(Fall(DISK_MOT_A, stopped) - stopped), 5000.0, SLACK_MS) << "disk home";
    EXPECT_NEAR(static_cast<double>(Fall(EXIT_MOT_A, stopped) - stopped), 10000.0, 2 * SLACK_MS) << "then exit";
    EXPECT_EQ(m_model.m_diskPosition, 0);
    EXPECT_EQ(m_model.m_exitPosition, 0);

    // Two beeps at the end: discharge's 3, then standby's 1.
    std::vector<int32_t> beeps;
    for (const auto& entry : m_log.Changes("buzzer_request", discharge))
        if (entry.value != 0)
            beeps.push_back(entry.value);
    EXPECT_EQ(beeps, std::vector<int32_t>({3, 1}));
    EXPECT_EQ(sig_read(RED_LED), 1);
    EXPECT_EQ(sig_read(GREEN_LED) | sig_read(MAIN_MOTOR) | sig_read(RELAY) | sig_read(HEATER_FAN), 0);
    EXPECT_EQ(state_index, ST_STANDBY);
}

TEST_F(Cycle, ThePowerKeyEndsEachPhase)
{
    struct Case {
        int32_t state;
        int32_t disk;  // mechanism positions at the start
        int32_t exit;
        uint64_t pressMs;  // after the phase's start
        double powerOffAfterRelease;
    } cases[] = {
        {ST_WASHING, 0, 0, 8000, 0.0},       // in the timed part
        {ST_CUTTING, 100, 0, 1000, 3900.0},  // during the travel to RS, which is waited for
        {ST_DRYING, 0, 0, 8000, 0.0},        // heater on
        {ST_DISCHARGE, 0, 0, 8000, 0.0},
    };
    for (const Case& c : cases) {
        Boot();
        PlaceMechanisms(c.disk, c.exit);
        state_index = c.state;
        const uint64_t start = m_harness.Now();
        KeyClickAt(start + c.pressMs, POWER_ON_OFF);
        m_harness.RunUntil(start + c.pressMs + 12000);
        const uint64_t released = start + c.pressMs + 100;
        const uint64_t off = Entered(ST_POWER_OFF, start + 1);
        EXPECT_NEAR(static_cast<double>(off - released), c.powerOffAfterRelease, SLACK_MS)
            << "power-off after the key in state " << c.state + 1;
        ExpectAllOutputsOff("after the power key");
        EXPECT_EQ(state_index, ST_POWER_OFF);
        ReloadController();
    }
}

// The cover opened during washing's timed part suspends it; the wash then
// runs 30 s from the resumption, with the main motor restarted only if it
// was running when the cover opened.
TEST_F(Cycle, ACoverOpenedDuringWashingSuspendsAndResumesIt)
{
    for (bool duringRun : {true, false}) {
        Boot();
        PlaceMechanisms(0, 0);
        state_index = ST_WASHING;
        uint64_t open = 0;
        uint64_t close = 0;
        m_harness.When([] { return sig_read(MAIN_MOTOR) == 1; },
                       [&] {
                           open = m_harness.Now() + (duringRun ? 3000 : 5500);
                           close = open + 4000;
                           SetInputAt(open, RUN_KEY, true);
                           SetInputAt(close, RUN_KEY, false);
                       });
        m_harness.RunUntil(m_harness.Now() + 60000);
        ASSERT_NE(open, 0u) << "the timed part began";
        EXPECT_EQ(At(MAIN_MOTOR, open + 100) | At(COOLING_FAN, open + 100) | At(MAIN_FAN, open + 100), 0)
            << "stopped while open";
        EXPECT_EQ(m_log.ValueAt("state_number", open + 100), ST_COVER_OPEN + 1);
        EXPECT_EQ(At(BLUE_LED, open + 100), 0);
        EXPECT_EQ(At(COOLING_FAN, close + 10) & At(MAIN_FAN, close + 10) & At(BLUE_LED, close + 10), 1)
            << "fans and lamps as they were";
        EXPECT_EQ(At(MAIN_MOTOR, close + 10), duringRun ? 1 : 0)
            << (duringRun ? "restarted: it was running" : "not restarted: opened during a stop");
        const uint64_t cutting = Entered(ST_CUTTING, close);
        ExpectPhaseSeconds(close, cutting, "washing after the resumption");
        ReloadController();
    }
}

// The power key in the discharge loop: with the disk already at RS the
// homing finds last_event still the power key and leaves the exit where it
// is; when the disk first has to travel, its polls replace last_event and
// the exit is homed as well.
TEST_F(Cycle, TheDischargeExitHomesTheExitOnlyAfterADiskTravel)
{
    for (int32_t disk : {0, 50}) {
        Boot();
        PlaceMechanisms(disk, 50);
        state_index = ST_DISCHARGE;
        const uint64_t start = m_harness.Now();
        KeyClickAt(start + 1000, POWER_ON_OFF);
        m_harness.RunUntil(start + 12000);
        const bool exitHomed = m_log.FirstTime(N(EXIT_MOT_A), 1, start) != UINT64_MAX;
        EXPECT_EQ(exitHomed, disk != 0) << "disk at " << disk;
        EXPECT_EQ(state_index, ST_POWER_OFF);
        EXPECT_EQ(m_model.m_diskPosition, 0);
        ReloadController();
    }
}

}  // namespace
