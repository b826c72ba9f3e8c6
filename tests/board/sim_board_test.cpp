// The board's two exchanges on a laid-out panel, driven by hand: the rest
// positions, the plant (motors and end stops, heater, buzzer) and the pins.

#include <gtest/gtest.h>

#include <string>

#include "board/port_bytes.h"
#include "board/port_pin.h"
#include "board/word_binding.h"
#include "firmware/fw_clock.h"
#include "firmware/fw_cycle.h"
#include "firmware/fw_main.h"
#include "sim/counting_beep.h"
#include "support/sim_fixture.h"

namespace {

class SimBoard : public CSimFixture {
protected:
    // One refresh tick of every animated widget, as the view's timer gives.
    void Ticks(int count)
    {
        for (int i = 0; i < count; ++i)
            for (CPanelWidget* widget : View().m_tickWidgets)
                widget->OnTick();
    }
};

TEST_F(SimBoard, StartExchangePutsTheInputsAtRestAndTellsNoWidget)
{
    Board().StartExchange();
    EXPECT_EQ(port0.load(), 0x10);
    EXPECT_EQ(port1.load(), 0x00);
    EXPECT_EQ(port2.load(), 0x00);
    EXPECT_EQ(port3.load(), 0x60);
    EXPECT_EQ(port4.load(), 0x00);
    EXPECT_EQ(port5.load(), 0x60);
    EXPECT_EQ(View().m_valveWater.m_running.load(), 0) << "WATER_SOL went to 1 without telling the valve";
    EXPECT_EQ(View().m_exitStopLeft.m_on.load(), 0);

    // The sampled level is the last level: only a later change is announced.
    Board().PeriodicExchange();
    EXPECT_EQ(View().m_valveWater.m_running.load(), 0);
    sig_off(WATER_SOL);
    Board().PeriodicExchange();
    sig_on(WATER_SOL);
    Board().PeriodicExchange();
    EXPECT_EQ(View().m_valveWater.m_running.load(), 1);
}

TEST_F(SimBoard, AnOutputBitReachesItsWidgetAtTheNextExchange)
{
    Board().StartExchange();
    sig_on(RED_LED);
    EXPECT_EQ(View().m_lampRed.m_on.load(), 0);
    Board().PeriodicExchange();
    EXPECT_EQ(View().m_lampRed.m_on.load(), 1);
    sig_off(RED_LED);
    Board().PeriodicExchange();
    EXPECT_EQ(View().m_lampRed.m_on.load(), 0);
}

TEST_F(SimBoard, TheDischargeMotorTravelsToItsEndAndReportsIt)
{
    Board().StartExchange();
    CMotorWidget& motor = View().m_motorExit;
    sig_on(EXIT_MOT_B);
    Board().PeriodicExchange();
    EXPECT_EQ(motor.m_running.load(), 1);
    EXPECT_EQ(sig_read(OVER_SENSOR_CW), 1) << "between the ends both sensors are inactive";
    EXPECT_EQ(sig_read(OVER_SENSOR_CCW), 1);

    Ticks(24);
    Board().PeriodicExchange();
    EXPECT_EQ(motor.m_position.load(), 98);
    EXPECT_EQ(sig_read(OVER_SENSOR_CW), 1);
    Ticks(1);
    Board().PeriodicExchange();
    EXPECT_EQ(motor.m_position.load(), 100) << "25 ticks from the middle to an end";
    EXPECT_EQ(sig_read(OVER_SENSOR_CW), 0);
    EXPECT_EQ(sig_read(OVER_SENSOR_CCW), 1);
    EXPECT_EQ(View().m_exitStopRight.m_on.load(), 1);
    EXPECT_EQ(View().m_exitStopLeft.m_on.load(), 0);

    // Switching straight from B to A, as a travel turned round inside one
    // step does, reverses the running motor at that exchange.
    sig_off(EXIT_MOT_B);
    sig_on(EXIT_MOT_A);
    Board().PeriodicExchange();
    Ticks(5);
    EXPECT_EQ(motor.m_position.load(), 90) << "the other wire took over: the motor turned round";

    // Stopped, A then runs it on toward 0.
    sig_off(EXIT_MOT_A);
    Board().PeriodicExchange();
    EXPECT_EQ(motor.m_running.load(), 0);
    sig_on(EXIT_MOT_A);
    Board().PeriodicExchange();
    Ticks(45);
    Board().PeriodicExchange();
    EXPECT_EQ(motor.m_position.load(), 0);
    EXPECT_EQ(sig_read(OVER_SENSOR_CCW), 0);
    EXPECT_EQ(View().m_exitStopLeft.m_on.load(), 1);
    EXPECT_EQ(View().m_exitStopRight.m_on.load(), 0);
}

TEST_F(SimBoard, TheDiskMotorFollowsBWhenBothWiresAreOnAndStopsWhenBothAreOff)
{
    Board().StartExchange();
    CMotorWidget& motor = View().m_motorDisk;
    sig_on(DISK_MOT_A);
    sig_on(DISK_MOT_B);
    Board().PeriodicExchange();
    Ticks(3);
    EXPECT_EQ(motor.m_position.load(), 56) << "B wins: toward 100";

    sig_off(DISK_MOT_A);
    sig_off(DISK_MOT_B);
    Board().PeriodicExchange();
    Ticks(3);
    EXPECT_EQ(motor.m_position.load(), 56) << "both clear: the motor stops where it is";
    EXPECT_EQ(sig_read(DISK_MOT_LS), 1);
    EXPECT_EQ(sig_read(DISK_MOT_RS), 1);

    sig_on(DISK_MOT_A);
    Board().PeriodicExchange();
    Ticks(28);
    Board().PeriodicExchange();
    EXPECT_EQ(motor.m_position.load(), 0);
    EXPECT_EQ(sig_read(DISK_MOT_RS), 0);
    EXPECT_EQ(sig_read(DISK_MOT_LS), 1);
    EXPECT_EQ(View().m_diskStopLeft.m_on.load(), 1);
}

// The drive rule, one exchange from each starting point: B wins, a running
// motor is left alone while its drive is unchanged and reverses when the other
// wire has taken over, both wires clear stop it.
TEST_F(SimBoard, ADriveExchangeStartsStopsOrReversesTheMotorByTheWires)
{
    constexpr int32_t F = CMotorWidget::FORWARD;
    constexpr int32_t B = CMotorWidget::BACKWARD;
    struct Case {
        int32_t running, direction, wireA, wireB;
        int32_t runningAfter, directionAfter, frameAfter;
    };
    // clang-format off
    const Case cases[] = {
        {0, B, 0, 1,  1, F, 0},  // stopped, B: starts toward 100 at frame 0
        {0, F, 1, 0,  1, B, 0},  // stopped, A: starts toward 0
        {0, B, 1, 1,  1, F, 0},  // both: B wins
        {1, F, 0, 1,  1, F, 3},  // unchanged drive: left alone, frame kept
        {1, B, 1, 0,  1, B, 3},
        {1, F, 1, 0,  1, B, 3},  // the other wire took over: reverses, frame kept
        {1, B, 0, 1,  1, F, 3},
        {1, B, 1, 1,  1, F, 3},  // both: B wins over a motor running toward 0
        {1, F, 0, 0,  0, F, 3},  // both clear: stops
    };
    // clang-format on
    Board().StartExchange();
    CMotorWidget& motor = View().m_motorDisk;
    for (const Case& c : cases) {
        motor.m_running.store(c.running);
        motor.m_direction.store(c.direction);
        motor.m_frame.store(3);
        sig_write(DISK_MOT_A, c.wireA != 0);
        sig_write(DISK_MOT_B, c.wireB != 0);
        Board().PeriodicExchange();
        const std::string where = "running " + std::to_string(c.running) + " direction " + std::to_string(c.direction) +
                                  " A " + std::to_string(c.wireA) + " B " + std::to_string(c.wireB);
        EXPECT_EQ(motor.m_running.load(), c.runningAfter) << where;
        EXPECT_EQ(motor.m_direction.load(), c.directionAfter) << where;
        EXPECT_EQ(motor.m_frame.load(), c.frameAfter) << where;
    }
}

TEST_F(SimBoard, TheRelaySteersTheMainMotor)
{
    Board().StartExchange();
    sig_on(MAIN_MOTOR);
    sig_on(RELAY);
    Board().PeriodicExchange();
    EXPECT_EQ(View().m_motorMain.m_running.load(), 1);
    EXPECT_EQ(View().m_motorMain.m_direction.load(), 1);
    sig_off(RELAY);
    Board().PeriodicExchange();
    EXPECT_EQ(View().m_motorMain.m_direction.load(), 0);
}

TEST_F(SimBoard, TheHeaterReadingFollowsTheGaugeWhileTheHeaterIsOn)
{
    Board().StartExchange();
    sig_on(HEATER);
    Board().PeriodicExchange();
    EXPECT_EQ(View().m_gaugeHeater.m_on.load(), 1);
    View().m_gaugeHeater.m_level.store(20);
    Board().PeriodicExchange();
    EXPECT_EQ(heater_reading, 320);
    View().m_gaugeHeater.m_level.store(50);
    Board().PeriodicExchange();
    EXPECT_EQ(heater_reading, 800) << "a full gauge reads 800";

    heater_pulses = 255;
    Board().PeriodicExchange();
    EXPECT_EQ(heater_pulses, 0) << "the pulse count wraps at 256";

    sig_off(HEATER);
    Board().PeriodicExchange();
    EXPECT_EQ(heater_reading, 0) << "0 as soon as the heater is off";
    EXPECT_EQ(heater_pulses, 0) << "no pulses while off";
}

TEST_F(SimBoard, ABuzzerRequestIsConsumedOnceAndBeepsOnce)
{
    CCountingBeep beep;
    Board().StartExchange();
    buzzer_request = 3;
    Board().PeriodicExchange();
    EXPECT_EQ(buzzer_request, 0);
    EXPECT_EQ(beep.Count(), 1);
    EXPECT_EQ(View().m_buzzer.m_sounding.load(), 1);
    Board().PeriodicExchange();
    Board().PeriodicExchange();
    EXPECT_EQ(beep.Count(), 1) << "no request, no beep";
}

TEST_F(SimBoard, TheReadoutsShowChangesOfTheFirmwareValues)
{
    state_number = 1;
    run_sec = 0;
    Board().StartExchange();
    Board().PeriodicExchange();
    EXPECT_EQ(View().m_readoutState.m_value.load(), 0) << "the value sampled at start is not announced";
    state_number = 2;
    run_sec = 7;
    Board().PeriodicExchange();
    EXPECT_EQ(View().m_readoutState.m_value.load(), 2);
    EXPECT_EQ(View().m_readoutRunSec.m_value.load(), 7);
}

TEST_F(SimBoard, ShutdownEmptiesThePinListAndKeepsTheWords)
{
    ASSERT_EQ(Board().m_pins.size(), 27u);
    Board().Shutdown();
    EXPECT_EQ(Board().m_pins.size(), 0u);
    EXPECT_EQ(Board().m_pins.capacity(), 0u);
    EXPECT_EQ(Board().m_words.size(), 2u);
}

}  // namespace
