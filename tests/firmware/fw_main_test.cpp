#include "firmware/fw_main.h"

#include "firmware/fw_clock.h"
#include "firmware/fw_events.h"
#include "firmware/fw_timers.h"
#include "support/firmware_fixture.h"

namespace {

class Dispatch : public CFirmwareFixture {};

TEST_F(Dispatch, StartUpReleasesTheKeysBeepsAndLeavesTheLampsOff)
{
    m_harness.Startup();
    EXPECT_EQ(sig_read(POWER_ON_OFF), 1) << "power key released";
    EXPECT_EQ(sig_read(SOL_VALVE), 1) << "wash key released";
    EXPECT_EQ(buzzer_request, 1);
    EXPECT_EQ(sig_read(RED_LED) | sig_read(GREEN_LED) | sig_read(BLUE_LED), 0) << "the lamp test is over at once";
    EXPECT_EQ(state_index, ST_STARTUP);
    EXPECT_EQ(state_number, 1);
    EXPECT_EQ(run_sec, 0);
    EXPECT_EQ(m_harness.Now(), 0u) << "start-up does not wait";
}

TEST_F(Dispatch, TheSecondPeriodReachesPowerOffWithEveryOutputOff)
{
    const port_signal outputs[] = {HEATER_FAN, COOLING_FAN, GREEN_LED,  BLUE_LED,   MAIN_FAN, MAIN_MOTOR, RELAY,
                                   DISK_MOT_A, DISK_MOT_B,  EXIT_MOT_A, EXIT_MOT_B, RED_LED,  WATER_SOL,  HEATER};
    for (port_signal s : outputs)
        sig_on(s);  // as a stopped firmware may have left them
    m_harness.Startup();
    m_harness.RunUntil(2);  // the second period's wait
    EXPECT_EQ(state_index, ST_POWER_OFF) << "the first period runs the start-up state, which returns at once";
    m_harness.RunUntil(10);
    EXPECT_EQ(state_number, 2);
    for (port_signal s : outputs)
        EXPECT_EQ(sig_read(s), 0) << CTraceLog::NameOf(s) << " is off in power-off";
}

TEST_F(Dispatch, AnOutOfRangeStateIsCorrectedWithoutRunningAHandler)
{
    for (int32_t bad : {-1, 10}) {
        m_harness.Startup();
        state_index = bad;
        state_number = 77;
        cover_return_state = ST_DRYING;
        drawer_return_state = ST_DRYING;
        const uint64_t before = m_harness.Now();
        EXPECT_EQ(fw_dispatch(), 0);
        EXPECT_EQ(m_harness.Now(), before) << "no handler ran for state " << bad;
        EXPECT_EQ(state_index, ST_STARTUP) << "state " << bad;
        EXPECT_EQ(state_number, 1) << "state " << bad;
        EXPECT_EQ(cover_return_state, ST_POWER_OFF) << "state " << bad;
        EXPECT_EQ(drawer_return_state, ST_POWER_OFF) << "state " << bad;
    }
}

TEST_F(Dispatch, ResetPutsTheFirmwareBackToItsLoadState)
{
    StartToStandby();
    SetWatched("disk_retry_ls", 2);
    last_event = EV_POWER_KEY;
    fw_reset();
    EXPECT_EQ(state_index, 0);
    EXPECT_EQ(state_number, 0);
    EXPECT_EQ(now_ms, 0u);
    EXPECT_EQ(run_sec_started, 0);
    EXPECT_EQ(Watched("disk_retry_ls"), 0);
    EXPECT_EQ(last_event, 0);
    EXPECT_EQ(tick_timer.status, TIMER_IDLE);
    EXPECT_EQ(tick_timer.on_step, nullptr);
    EXPECT_EQ(current_timer, nullptr);
}

}  // namespace
