#include "firmware/fw_timers.h"

#include "firmware/fw_main.h"
#include "support/firmware_fixture.h"

namespace {

class Timers : public CFirmwareFixture {
protected:
    void SetUp() override { Boot(); }
    // Polls one timer (and the pace) until it idles or limitMs passes.
    void Play(soft_timer* timer, uint64_t limitMs)
    {
        m_harness.RunLoop(
            limitMs,
            [timer] {
                timer_poll(timer);
                timer_poll(&tick_timer);
            },
            [timer] { return timer->status == TIMER_IDLE; });
    }
    std::string Name(port_signal s) const { return CTraceLog::NameOf(s); }
};

TEST_F(Timers, StartUpRegistersElevenTimersAndRunsOnlyTheTick)
{
    soft_timer* const all[] = {&tick_timer,   &beeper_timer,     &disk_timer,      &exit_timer,
                               &heater_timer, &blue_led_timer,   &green_led_timer, &red_led_timer,
                               &fan_timer,    &main_motor_timer, &water_timer};
    for (soft_timer* timer : all) {
        EXPECT_NE(timer->on_start, nullptr);
        EXPECT_NE(timer->on_step, nullptr);
        EXPECT_EQ(timer->status, timer == &tick_timer ? TIMER_RUNNING : TIMER_IDLE);
    }
    EXPECT_EQ(blue_led_timer.on_start, red_led_timer.on_start) << "the lamp timers share a start procedure";
    EXPECT_NE(blue_led_timer.on_step, red_led_timer.on_step) << "each lamp has its own step";

    // Each tick gives the board two 1 ms yields.
    for (int i = 0; i < 5; ++i)
        timer_poll(&tick_timer);
    EXPECT_EQ(m_harness.Now(), 10u) << "five ticks, ten yields";
    EXPECT_EQ(now_ms, 10u);
}

TEST_F(Timers, TheMainFanRunsTwentySecondsThenIdles)
{
    timer_start(&fan_timer, EVT_MAIN_FAN);
    Play(&fan_timer, 60000);
    EXPECT_EQ(fan_timer.status, TIMER_IDLE);
    EXPECT_EQ(m_log.TimesOf(Name(MAIN_FAN), 1), std::vector<uint64_t>({0}));
    EXPECT_EQ(m_log.TimesOf(Name(MAIN_FAN), 0), std::vector<uint64_t>({20000}));
}

TEST_F(Timers, TheWashProgrammeEndsAfterFifteenRunsWithTheRelayOff)
{
    timer_start(&main_motor_timer, EVT_MAIN_MOTOR_WASH);
    Play(&main_motor_timer, 200000);
    const std::vector<uint64_t> runs = m_log.TimesOf(Name(MAIN_MOTOR), 1);
    const std::vector<uint64_t> stops = m_log.TimesOf(Name(MAIN_MOTOR), 0);
    ASSERT_EQ(runs.size(), 15u) << "15 runs";
    ASSERT_EQ(stops.size(), 15u);
    for (size_t i = 0; i < runs.size(); ++i) {
        EXPECT_EQ(runs[i], i * 7000) << "a run every 7 s";
        EXPECT_EQ(stops[i], i * 7000 + 5000) << "each run lasts 5 s";
    }
    // The relay reverses at every stop but the last, which leaves it off.
    EXPECT_EQ(m_log.Changes(Name(RELAY)).size(), 14u);
    EXPECT_EQ(m_log.ValueAt(Name(RELAY), 103000), 0) << "14 reversals: off before the last stop";
    EXPECT_EQ(sig_read(RELAY), 0);
    EXPECT_EQ(sig_read(MAIN_MOTOR), 0);
    EXPECT_EQ(m_harness.Now(), 105001u) << "idle at the poll after the last 2 s pause (105 s)";

    m_log.ClearTrace();
    timer_start(&main_motor_timer, EVT_MAIN_MOTOR_CYCLE);
    Play(&main_motor_timer, m_harness.Now() + 150000);
    EXPECT_EQ(main_motor_timer.status, TIMER_RUNNING) << "the cycle's programme never ends by itself";
    EXPECT_GT(m_log.TimesOf(Name(MAIN_MOTOR), 1).size(), 15u);
}

TEST_F(Timers, LampsBlinkBeeperRequestsAndWaterPulses)
{
    timer_start(&green_led_timer, EVT_BLINK);
    timer_start(&beeper_timer, EVT_BEEPER);
    timer_start(&water_timer, EVT_WATER_WASH);
    uint32_t beeps = 0;
    m_harness.m_onMs = [&beeps] {
        if (buzzer_request == 2)
            ++beeps;
        buzzer_request = 0;
    };
    m_harness.RunLoop(18100, [] {
        timer_poll(&green_led_timer);
        timer_poll(&beeper_timer);
        timer_poll(&water_timer);
        timer_poll(&tick_timer);
    });
    EXPECT_EQ(m_log.TimesOf(Name(GREEN_LED), 1, 0, 1800), std::vector<uint64_t>({0, 600, 1200, 1800}))
        << "lit every 600 ms";
    EXPECT_EQ(m_log.TimesOf(Name(GREEN_LED), 0, 0, 1800), std::vector<uint64_t>({300, 900, 1500}));
    EXPECT_EQ(beeps, 11u) << "a beep request every 1.8 s: at 0, 1.8, ... 18 s";
    EXPECT_EQ(m_log.TimesOf(Name(WATER_SOL), 1), std::vector<uint64_t>({0, 6000, 12000}));
    EXPECT_EQ(m_log.TimesOf(Name(WATER_SOL), 0), std::vector<uint64_t>({3000, 9000, 15000}));
    EXPECT_EQ(water_timer.status, TIMER_IDLE) << "three pulses, then idle";
}

TEST_F(Timers, TheHeaterIsCutWhenNoPulseCameAndSwitchedOnAgainWhenTheyReturn)
{
    timer_start(&heater_timer, EVT_HEATER);
    EXPECT_EQ(heater_pulses, 1) << "the start counts one pulse";
    EXPECT_EQ(Watched("heater_cut"), 0);
    sig_on(HEATER);
    heater_pulses = 0;
    timer_poll(&heater_timer);
    EXPECT_EQ(Watched("heater_cut"), 1) << "half a second without a pulse";
    EXPECT_EQ(sig_read(HEATER), 0);
    heater_pulses = 5;
    heater_timer.due_ms = now_ms;
    timer_poll(&heater_timer);
    EXPECT_EQ(Watched("heater_cut"), 0);
    EXPECT_EQ(heater_pulses, 0) << "the count starts again";
    EXPECT_EQ(sig_read(HEATER), 1);
}

}  // namespace
