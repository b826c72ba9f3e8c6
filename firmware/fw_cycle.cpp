#include "firmware/fw_cycle.h"

#include "board/port_bytes.h"
#include "firmware/fw_clock.h"
#include "firmware/fw_events.h"
#include "firmware/fw_main.h"
#include "firmware/fw_motors.h"
#include "firmware/fw_outputs.h"
#include "firmware/fw_timers.h"

uint8_t phase_timing;
uint16_t heater_reading;

namespace {

// The end of every pass of a cycle loop: the power key ends the cycle, an
// opened cover or drawer suspends it until closed. False when the loop ends.
bool cycle_events(int32_t state, uint8_t drive)
{
    const int32_t event = programme_events(INTERRUPT_FULL, drive);
    if (event == EV_POWER_KEY)
        return false;
    if (event != EV_NONE) {
        state_index = state;
        state_number = static_cast<uint16_t>(state + 1);
    }
    return true;
}

void main_motor_keep_running()
{
    if (main_motor_timer.status != TIMER_RUNNING)
        timer_start(&main_motor_timer, EVT_MAIN_MOTOR_CYCLE);
}

// A phase first drives its mechanism to an end; the timed part begins when
// that travel has ended, its seconds counted from then. Polled while
// phase_timing is 0; true on the pass the timed part begins.
bool positioning_ends(const soft_timer* travel)
{
    if (travel->status != TIMER_IDLE)
        return false;
    phase_timing = 1;
    run_sec_restart();
    return true;
}

// The loop of cutting and discharge: the travel on `travel` with the main
// motor running, then PHASE_SECONDS, then `next`.
void positioned_timed_phase(soft_timer* travel, int32_t state, int32_t next, uint8_t drive)
{
    for (;;) {
        timer_poll(travel);
        timer_poll(&main_motor_timer);
        timer_poll(&tick_timer);
        if (phase_timing == 0) {
            positioning_ends(travel);
        } else if (run_sec >= PHASE_SECONDS) {
            state_index = next;
            break;
        }
        if (!cycle_events(state, drive))
            break;
    }
}

}  // namespace

// The blue lamp: the mechanisms go home, the disk to LS, then 30 s of main
// motor with both fans.
void state_washing()
{
    delay_ms(4);
    buzzer(3);
    clock_restart();
    sig_on(RED_LED);
    sig_off(GREEN_LED);
    sig_on(BLUE_LED);
    home_motors();
    if (state_index != ST_WASHING)
        return;
    timer_start(&disk_timer, EVT_DISK_TO_LS);
    finish_disk_travel(END_LS);
    if (state_index != ST_WASHING)
        return;
    run_sec_restart();
    phase_timing = 1;
    sig_on(COOLING_FAN);
    timer_start(&fan_timer, EVT_MAIN_FAN);
    timer_start(&main_motor_timer, EVT_MAIN_MOTOR_CYCLE);
    for (;;) {
        timer_poll(&fan_timer);
        timer_poll(&main_motor_timer);
        timer_poll(&tick_timer);
        if (run_sec >= PHASE_SECONDS) {
            state_index = ST_CUTTING;
            break;
        }
        if (!cycle_events(ST_WASHING, DRIVE_DISK))
            break;
    }
    sig_off(BLUE_LED);
    fan_timer.status = TIMER_IDLE;
}

// The green and red lamps: the disk to RS, then 30 s.
void state_cutting()
{
    delay_ms(5);
    run_sec_restart();
    phase_timing = 0;
    sig_on(RED_LED);
    sig_on(GREEN_LED);
    sig_off(BLUE_LED);
    sig_on(COOLING_FAN);
    timer_start(&disk_timer, EVT_DISK_TO_RS);
    main_motor_keep_running();
    positioned_timed_phase(&disk_timer, ST_CUTTING, ST_DRYING, DRIVE_DISK);
    sig_off(GREEN_LED);
    finish_disk_travel(END_RS);
}

// The red lamp blinks: the disk to LS, then heater and water until the
// heater reads warm enough. Drying has no time limit.
void state_drying()
{
    delay_ms(6);
    run_sec_restart();
    phase_timing = 0;
    sig_on(RED_LED);
    sig_off(GREEN_LED);
    sig_off(BLUE_LED);
    sig_on(COOLING_FAN);
    timer_start(&disk_timer, EVT_DISK_TO_LS);
    timer_start(&red_led_timer, EVT_BLINK);
    main_motor_keep_running();
    for (;;) {
        timer_poll(&disk_timer);
        timer_poll(&heater_timer);
        timer_poll(&red_led_timer);
        timer_poll(&main_motor_timer);
        timer_poll(&water_timer);
        timer_poll(&tick_timer);
        if (phase_timing == 0) {
            if (positioning_ends(&disk_timer)) {
                sig_on(HEATER_FAN);
                sig_on(HEATER);
                timer_start(&heater_timer, EVT_HEATER);
                timer_start(&water_timer, EVT_WATER_DRYING);
            }
        } else if (heater_reading > DRY_END_READING) {
            state_index = ST_DISCHARGE;
            break;
        }
        if (!cycle_events(ST_DRYING, DRIVE_DISK))
            break;
    }
    sig_on(RED_LED);
    sig_off(WATER_SOL);
    sig_off(HEATER);
    finish_disk_travel(END_LS);
    heater_timer.status = TIMER_IDLE;
    red_led_timer.status = TIMER_IDLE;
    water_timer.status = TIMER_IDLE;
}

// The green lamp: the exit mechanism to CW, then 30 s; afterwards everything
// stops, the mechanisms go home and the end is beeped.
void state_discharge()
{
    delay_ms(7);
    run_sec_restart();
    phase_timing = 0;
    sig_off(RED_LED);
    sig_on(GREEN_LED);
    sig_off(BLUE_LED);
    sig_on(HEATER_FAN);
    sig_on(COOLING_FAN);
    timer_start(&exit_timer, EVT_EXIT_TO_CW);
    main_motor_keep_running();
    positioned_timed_phase(&exit_timer, ST_DISCHARGE, ST_STANDBY, DRIVE_EXIT);
    sig_off(EXIT_MOT_A);
    sig_off(EXIT_MOT_B);
    sig_off(HEATER_FAN);
    sig_off(COOLING_FAN);
    main_motor_stop();
    main_motor_timer.status = TIMER_IDLE;
    sig_off(RELAY);
    home_motors();
    phase_timing = 0;
    sig_on(RED_LED);
    sig_off(GREEN_LED);
    buzzer(3);
}

void cycle_reset_state()
{
    phase_timing = 0;
    heater_reading = 0;
}
