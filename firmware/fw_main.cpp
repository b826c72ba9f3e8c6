#include "firmware/fw_main.h"

#include "firmware/fw_clock.h"
#include "firmware/fw_cycle.h"
#include "firmware/fw_events.h"
#include "firmware/fw_idle_states.h"
#include "firmware/fw_motors.h"
#include "firmware/fw_outputs.h"
#include "firmware/fw_timers.h"
#include "firmware/soft_timer.h"

int32_t state_index;
uint16_t state_number;
int32_t cover_return_state;
int32_t drawer_return_state;

namespace {

using state_handler = void (*)();

const state_handler state_handlers[STATE_COUNT] = {
    state_startup, state_power_off, state_standby,   state_cover_open,  state_washing,
    state_cutting, state_drying,    state_discharge, state_drawer_open, state_manual_wash,
};

}  // namespace

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
    outputs_reset_state();
    clock_reset_state();
    soft_timer_reset_state();
    timers_reset_state();
    events_reset_state();
    motors_reset_state();
    cycle_reset_state();
}
