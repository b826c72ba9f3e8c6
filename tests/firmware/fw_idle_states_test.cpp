#include "firmware/fw_idle_states.h"

#include "firmware/fw_clock.h"
#include "firmware/fw_cycle.h"
#include "firmware/fw_events.h"
#include "firmware/fw_main.h"
#include "firmware/fw_timers.h"
#include "support/firmware_fixture.h"

namespace {

const std::string RED = CTraceLog::NameOf(RED_LED);
const std::string GREEN = CTraceLog::NameOf(GREEN_LED);
const std::string BLUE = CTraceLog::NameOf(BLUE_LED);

class IdleStates : public CFirmwareFixture {
protected:
    bool RunToState(int32_t state, uint64_t withinMs)
    {
        return m_harness.RunUntil(m_harness.Now() + withinMs, [state] { return state_number == state + 1; });
    }
    // When the state was first shown at or after fromMs; UINT64_MAX if never.
    uint64_t Entered(int32_t state, uint64_t fromMs) const
    {
        return m_log.FirstTime("state_number", state + 1, fromMs);
    }
    // The values a request took, in order.
    std::vector<int32_t> Beeps(uint64_t fromMs) const
    {
        std::vector<int32_t> values;
        for (const auto& entry : m_log.Changes("buzzer_request", fromMs))
            if (entry.value != 0)
                values.push_back(entry.value);
        return values;
    }
};

TEST_F(IdleStates, PowerOffStopsEverythingAndThePowerKeyLeadsToStandby)
{
    Boot();
    sig_on(MAIN_FAN);
    sig_on(DISK_MOT_B);
    sig_on(RELAY);
    timer_start(&fan_timer, EVT_MAIN_FAN);
    timer_start(&water_timer, EVT_WATER_WASH);
    phase_timing = 1;
    ASSERT_TRUE(RunToState(ST_POWER_OFF, 100));
    m_harness.RunUntil(m_harness.Now() + 50);
    EXPECT_EQ(phase_timing, 0) << "the start-up state clears the phase flag";
    EXPECT_EQ(sig_read(MAIN_FAN) | sig_read(DISK_MOT_B) | sig_read(RELAY) | sig_read(WATER_SOL), 0);
    EXPECT_EQ(fan_timer.status, TIMER_IDLE);
    EXPECT_EQ(water_timer.status, TIMER_IDLE);
    EXPECT_EQ(tick_timer.status, TIMER_RUNNING) << "the pace is never stopped";
    EXPECT_EQ(sig_read(POWER_ON_OFF), 1) << "inputs beside the outputs are left alone";
    EXPECT_EQ(sig_read(DISK_MOT_LS), 1);

    const uint64_t press = m_harness.Now() + 10;
    KeyClickAt(press, POWER_ON_OFF);
    m_harness.RunUntil(press + 1000);
    EXPECT_EQ(Beeps(press), std::vector<int32_t>({1, 1})) << "leaving power-off, then entering standby";
    EXPECT_NEAR(static_cast<double>(Entered(ST_STANDBY, press)), static_cast<double>(press + 100), 3.0)
        << "on the key's release";
    EXPECT_EQ(sig_read(RED_LED), 1);
    EXPECT_EQ(sig_read(GREEN_LED) | sig_read(BLUE_LED), 0);
}

TEST_F(IdleStates, StandbyLeavesByKeyCoverOrDrawer)
{
    struct Case {
        const char* what;
        port_signal input;
        bool isKey;
        int32_t next;
    } cases[] = {
        {"power key", POWER_ON_OFF, true, ST_POWER_OFF},
        {"wash key", SOL_VALVE, true, ST_MANUAL_WASH},
        {"drawer", DRAWER, false, ST_DRAWER_OPEN},
        {"cover", RUN_KEY, false, ST_COVER_OPEN},
    };
    for (const Case& c : cases) {
        StartToStandby();
        if (c.isKey)
            KeyClickAt(m_harness.Now() + 50, c.input);
        else
            SetInputAt(m_harness.Now() + 50, c.input, true);
        EXPECT_TRUE(RunToState(c.next, 1000)) << "the " << c.what << " leads to state " << c.next + 1;
        ReloadController();
    }

    // Cover, drawer and power key at once: the cover is reported first.
    StartToStandby();
    const uint64_t t = m_harness.Now() + 50;
    SetInputAt(t, DRAWER, true);
    SetInputAt(t, RUN_KEY, true);
    m_harness.At(t, [] { sig_off(POWER_ON_OFF); });
    EXPECT_TRUE(RunToState(ST_COVER_OPEN, 1000)) << "an open cover wins";
    EXPECT_EQ(cover_return_state, ST_STANDBY);
}

TEST_F(IdleStates, TheCoverBlinksGreenServesTheDrawerAndStartsWashingWhenClosed)
{
    StartToStandby();
    const uint64_t t = m_harness.Now();
    SetInputAt(t + 100, RUN_KEY, true);
    SetInputAt(t + 3000, DRAWER, true);
    SetInputAt(t + 9000, DRAWER, false);
    SetInputAt(t + 11000, RUN_KEY, false);
    m_harness.RunUntil(t + 2900);
    EXPECT_EQ(state_number, ST_COVER_OPEN + 1);
    EXPECT_EQ(m_log.ValueAt(RED, t + 2900), 1);
    EXPECT_EQ(m_log.ValueAt(BLUE, t + 2900), 0);
    const std::vector<uint64_t> lit = m_log.TimesOf(GREEN, 1, t, t + 2900);
    ASSERT_GE(lit.size(), 4u);
    for (size_t i = 1; i < lit.size(); ++i)
        EXPECT_NEAR(static_cast<double>(lit[i] - lit[i - 1]), 600.0, 2.0) << "green blinks 300 ms / 300 ms";

    // The drawer alarm inside the cover state.
    const uint32_t beepsBefore = m_model.m_beeps;
    m_harness.RunUntil(t + 8900);
    EXPECT_EQ(state_number, ST_DRAWER_OPEN + 1);
    EXPECT_EQ(m_model.m_beeps - beepsBefore, 4u) << "a beep every 1.8 s, from the drawer's opening";
    EXPECT_EQ(m_log.TimesOf(BLUE, 1, t + 3200, t + 8900), m_log.TimesOf(GREEN, 1, t + 3200, t + 8900))
        << "blue and green blink together";

    m_harness.RunUntil(t + 10900);
    EXPECT_EQ(state_number, ST_COVER_OPEN + 1) << "back to the cover display";
    EXPECT_EQ(sig_read(BLUE_LED), 0);
    EXPECT_EQ(drawer_return_state, ST_POWER_OFF);
    EXPECT_TRUE(RunToState(ST_WASHING, 1000)) << "closing a cover opened in standby starts washing";
    EXPECT_EQ(cover_return_state, ST_WASHING);
}

TEST_F(IdleStates, ClosingTheDrawerReturnsToStandby)
{
    StartToStandby();
    const uint64_t t = m_harness.Now();
    SetInputAt(t + 100, DRAWER, true);
    SetInputAt(t + 2000, DRAWER, false);
    m_harness.RunUntil(t + 3000);
    EXPECT_NEAR(static_cast<double>(Entered(ST_DRAWER_OPEN, t)), static_cast<double>(t + 100), 3.0);
    EXPECT_EQ(m_log.ValueAt(RED, t + 1900), 1) << "red lit while the drawer is open";
    EXPECT_NEAR(static_cast<double>(Entered(ST_STANDBY, t + 100)), static_cast<double>(t + 2000), 3.0);
    EXPECT_EQ(Beeps(t + 50), std::vector<int32_t>({2, 2, 1})) << "two alarm beeps, then standby's";
    EXPECT_EQ(sig_read(RED_LED), 1);
    EXPECT_EQ(sig_read(GREEN_LED) | sig_read(BLUE_LED), 0);
    EXPECT_EQ(beeper_timer.status, TIMER_IDLE);
    EXPECT_EQ(drawer_return_state, ST_POWER_OFF);
}

TEST_F(IdleStates, AManualWashEndsAfterFifteenRunsOrOnTheWashKey)
{
    StartToStandby();
    const uint64_t t = m_harness.Now();
    KeyClickAt(t + 100, SOL_VALVE);
    SetInputAt(t + 20000, RUN_KEY, true);  // not watched during a wash
    m_harness.At(t + 30000, [] { sig_off(POWER_ON_OFF); });
    m_harness.At(t + 30100, [] { sig_on(POWER_ON_OFF); });
    m_harness.RunUntil(t + 120000);
    const uint64_t start = Entered(ST_MANUAL_WASH, t);
    EXPECT_NEAR(static_cast<double>(start), static_cast<double>(t + 200), 3.0) << "on the key's release";
    EXPECT_EQ(m_log.ValueAt(RED, start + 10) & m_log.ValueAt(BLUE, start + 10), 1) << "red and blue lit";
    const uint64_t end = m_log.FirstTime("state_number", ST_STANDBY + 1, start);
    EXPECT_NEAR(static_cast<double>(end - start), 105000.0, 5.0) << "15 runs of 7 s";
    EXPECT_EQ(m_log.TimesOf(CTraceLog::NameOf(MAIN_MOTOR), 1, start).size(), 15u);
    EXPECT_EQ(m_log.TimesOf(CTraceLog::NameOf(WATER_SOL), 1, start).size(), 3u);
    EXPECT_EQ(Beeps(start), std::vector<int32_t>({1, 3, 1})) << "the wash's start, one buzzer(3) at its end, standby";
    EXPECT_EQ(sig_read(MAIN_MOTOR) | sig_read(RELAY) | sig_read(WATER_SOL) | sig_read(BLUE_LED), 0);

    // A second press of the wash key ends it early.
    ReloadController();
    StartToStandby();
    const uint64_t t2 = m_harness.Now();
    KeyClickAt(t2 + 100, SOL_VALVE);
    KeyClickAt(t2 + 10000, SOL_VALVE);
    m_harness.RunUntil(t2 + 20000);
    EXPECT_NEAR(static_cast<double>(Entered(ST_STANDBY, t2 + 200)), static_cast<double>(t2 + 10100), 3.0);
    EXPECT_EQ(sig_read(MAIN_MOTOR) | sig_read(RELAY), 0);
}

}  // namespace
