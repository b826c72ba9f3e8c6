// The plant faults on a laid-out panel, through the board's exchange and the
// widgets' ticks: stuck end switches, jammed motors, a dead heater.

#include <gtest/gtest.h>

#include <string>

#include "board/plant_seam.h"
#include "board/port_bytes.h"
#include "firmware/fw_cycle.h"
#include "firmware/fw_main.h"
#include "sim/panel_parts.h"
#include "sim/plant_faults.h"
#include "support/sim_fixture.h"

namespace {

class PlantFaults : public CSimFixture {
protected:
    void Ticks(int count)
    {
        for (int i = 0; i < count; ++i)
            for (CPanelWidget* widget : View().m_tickWidgets)
                widget->OnTick();
    }
};

TEST_F(PlantFaults, AStuckSwitchHoldsItsInputAndItsIndicatorShowsWhatTheFirmwareReads)
{
    struct Switch {
        CMotorWidget& motor;
        int32_t end;  // the position at which the switch is active
        CIndicatorWidget& mark;
        port_signal partner;
    };
    CSimulatorView& v = View();
    const Switch switches[CPlantFault::SWITCH_COUNT] = {
        {v.m_motorDisk, 0, v.m_diskStopLeft, DISK_MOT_LS},
        {v.m_motorDisk, 100, v.m_diskStopRight, DISK_MOT_RS},
        {v.m_motorExit, 0, v.m_exitStopLeft, OVER_SENSOR_CW},
        {v.m_motorExit, 100, v.m_exitStopRight, OVER_SENSOR_CCW},
    };
    CPlantFaults faults(View());
    Board().StartExchange();
    for (int i = 0; i < CPlantFault::SWITCH_COUNT; ++i) {
        const Switch& sw = switches[i];
        const port_signal input = CPlantFault::SWITCH_SIGNALS[i];
        for (int32_t level = 0; level <= 1; ++level) {
            faults.Set({CPlantFault::STUCK_SWITCH, i, level});
            for (int32_t position : {0, 50, 100}) {
                sw.motor.m_position.store(position);
                Board().PeriodicExchange();
                const std::string where = std::string(CPlantFault::SWITCH_NAMES[i]) + " stuck " +
                                          std::to_string(level) + " at " + std::to_string(position);
                EXPECT_EQ(sig_read(input), level != 0) << where;
                EXPECT_EQ(sw.mark.m_on.load(), level == 0 ? 1 : 0) << where;
                EXPECT_EQ(sig_read(sw.partner), position != 100 - sw.end) << where << ": the other end is healthy";
            }
            EXPECT_EQ(faults.Describe(), std::string(CPlantFault::SWITCH_NAMES[i]) + " stuck " + std::to_string(level));
        }
        faults.Clear({CPlantFault::STUCK_SWITCH, i, 0});
        EXPECT_EQ(g_pPlant.load(), nullptr) << "a healthy plant costs the exchange nothing";
        sw.motor.m_position.store(sw.end);
        Board().PeriodicExchange();
        EXPECT_EQ(sig_read(input), false) << CPlantFault::SWITCH_NAMES[i] << " follows the motor again";
        EXPECT_EQ(sw.mark.m_on.load(), 1);
        sw.motor.m_position.store(50);
    }

    // "Reset CPU" puts the inputs at rest, but a stuck line stays where it is.
    faults.Set({CPlantFault::STUCK_SWITCH, 0, 1});
    Board().StartExchange();
    EXPECT_EQ(sig_read(DISK_MOT_RS), true);
}

TEST_F(PlantFaults, AJammedMotorIsDrivenButStandsStillUntilCleared)
{
    CPlantFaults faults(View());
    Board().StartExchange();
    sig_on(DISK_MOT_B);
    sig_on(EXIT_MOT_A);
    sig_on(MAIN_MOTOR);
    CMotorWidget* const motors[] = {&View().m_motorDisk, &View().m_motorExit, &View().m_motorMain};
    for (int32_t i = 0; i < MOTOR_COUNT; ++i)
        faults.Set({CPlantFault::JAMMED_MOTOR, i, 0});
    EXPECT_EQ(faults.Describe(), "motor disk jammed, motor exit jammed, motor main jammed");
    Board().PeriodicExchange();
    Ticks(10);
    Board().PeriodicExchange();
    for (CMotorWidget* motor : motors) {
        EXPECT_EQ(motor->m_running.load(), 1) << motor->m_caption << " is driven";
        EXPECT_EQ(motor->m_position.load(), 50) << motor->m_caption;
        EXPECT_EQ(motor->m_frame.load(), 0) << motor->m_caption << ": the picture does not turn";
    }
    EXPECT_EQ(sig_read(DISK_MOT_LS), true) << "a jammed mechanism never arrives";

    faults.Clear({CPlantFault::JAMMED_MOTOR, MOTOR_EXIT, 0});
    Ticks(5);
    EXPECT_EQ(View().m_motorExit.m_position.load(), 40) << "cleared, it runs on";
    EXPECT_EQ(View().m_motorDisk.m_position.load(), 50) << "the others stay jammed";
}

TEST_F(PlantFaults, ADeadHeaterEmptiesTheGaugeAndReadsZeroWhileOn)
{
    CPlantFaults faults(View());
    CGaugeWidget& gauge = View().m_gaugeHeater;
    Board().StartExchange();
    sig_on(HEATER);
    Board().PeriodicExchange();
    gauge.m_level.store(20);
    faults.Set({CPlantFault::DEAD_HEATER, 0, 0});
    const uint8_t pulses = heater_pulses;
    Ticks(50);
    Board().PeriodicExchange();
    EXPECT_EQ(gauge.m_level.load(), 0) << "the gauge stays empty";
    EXPECT_EQ(heater_reading, 0);
    EXPECT_EQ(gauge.m_on.load(), 1) << "the heater is still switched on";
    EXPECT_EQ(heater_pulses, static_cast<uint8_t>(pulses + 1)) << "the controller still pulses it";

    faults.Clear({CPlantFault::DEAD_HEATER, 0, 0});
    Ticks(10);
    Board().PeriodicExchange();
    EXPECT_GT(heater_reading, 0) << "mended, it warms again";

    // Set and cleared between two ticks, the fault still takes the warmth built so far.
    gauge.m_level.store(20);
    faults.Set({CPlantFault::DEAD_HEATER, 0, 0});
    faults.Clear({CPlantFault::DEAD_HEATER, 0, 0});
    EXPECT_EQ(gauge.m_level.load(), 0) << "emptied when the fault is set";
}

TEST_F(PlantFaults, ActiveFaultsAreListedInOrderAndClearAllOrTheDestructorMendsThePlant)
{
    {
        CPlantFaults faults(View());
        EXPECT_EQ(faults.Describe(), "");
        faults.Set({CPlantFault::DEAD_HEATER, 0, 0});
        faults.Set({CPlantFault::STUCK_SWITCH, 1, 0});
        faults.Set({CPlantFault::STUCK_SWITCH, 1, 1});  // set again: the new level
        faults.Set({CPlantFault::JAMMED_MOTOR, MOTOR_EXIT, 0});
        EXPECT_EQ(faults.Describe(), "DISK_MOT_LS stuck 1, motor exit jammed, heater dead");
        EXPECT_TRUE(faults.IsActive({CPlantFault::STUCK_SWITCH, 1, 1}));
        EXPECT_FALSE(faults.IsActive({CPlantFault::STUCK_SWITCH, 1, 0}));
        EXPECT_EQ(faults.Active().size(), 3u);
        faults.ClearAll();
        EXPECT_EQ(faults.Describe(), "");
        faults.Set({CPlantFault::JAMMED_MOTOR, MOTOR_DISK, 0});
        faults.Set({CPlantFault::STUCK_SWITCH, 3, 0});
    }
    EXPECT_EQ(g_pPlant.load(), nullptr) << "mended, the plant has no seam";
    EXPECT_EQ(CPlantFault::All().size(), 12u) << "8 stuck switches, 3 jammed motors, the dead heater";
}

}  // namespace
