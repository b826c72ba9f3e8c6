#include "firmware/fw_main.h"

#include "board/port_bytes.h"
#include "firmware/fw_clock.h"
#include "firmware/fw_cycle.h"
#include "firmware/fw_events.h"
#include "firmware/fw_idle_states.h"
#include "firmware/fw_motors.h"
#include "firmware/fw_timers.h"
#include "firmware/soft_timer.h"

int32_t state_index;
uint16_t state_number;
int32_t cover_return_state;
int32_t drawer_return_state;
uint8_t buzzer_request;
uint8_t main_motor_on;
uint8_t heater_pulses;
uint8_t heater_cut;

const state_handler state_handlers[STATE_COUNT] = {
    state_startup,   state_power_off, state_standby, state_cover_open,  state_washing,
    state_cutting,   state_drying,    state_discharge, state_drawer_open, state_manual_wash,
};

void buzzer(uint8_t pattern) { buzzer_request = pattern; }

void main_motor_start()
{
    main_motor_on = 1;
    sig_on(MAIN_MOTOR);
}

void main_motor_stop()
{
    main_motor_on = 0;
    sig_off(MAIN_MOTOR);
}

void keys_release()
{
    sig_on(POWER_ON_OFF);
    sig_on(SOL_VALVE);
}

void lamp_test()
{
    sig_on(RED_LED);
    sig_on(GREEN_LED);
    sig_on(BLUE_LED);
    delay_ms(500);
    sig_off(RED_LED);
    sig_off(GREEN_LED);
    sig_off(BLUE_LED);
}

// Output bits, other timers, retry counters and saved values keep what they
// held when the thread last stopped: the power-off state clears them soon.
void fw_startup()
{
    keys_release();
    clock_restart();
    delay_ms(100);
    timers_register();
    buzzer(1);
    lamp_test();
    timer_start(&tick_timer, 1);
    run_sec_restart();
    state_index = ST_STARTUP;
    state_number = 1;
}

int fw_dispatch()
{
    if (state_index < 0 || state_index >= STATE_COUNT) {
        state_index = ST_STARTUP;
        state_number = 1;
        drawer_return_state = ST_POWER_OFF;
        cover_return_state = ST_POWER_OFF;
        return 0;
    }
    state_number = static_cast<uint16_t>(state_index + 1);
    state_handlers[state_index]();
    return 0;
}

void fw_reset()
{
    state_index = 0;
    state_number = 0;
    cover_return_state = 0;
    drawer_return_state = 0;
    buzzer_request = 0;
    main_motor_on = 0;
    heater_pulses = 0;
    heater_cut = 0;
    clock_reset_state();
    soft_timer_reset_state();
    timers_reset_state();
    events_reset_state();
    motors_reset_state();
    cycle_reset_state();
}
