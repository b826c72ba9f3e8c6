#include "firmware/fw_idle_states.h"

#include "board/port_bytes.h"
#include "firmware/fw_clock.h"
#include "firmware/fw_cycle.h"
#include "firmware/fw_events.h"
#include "firmware/fw_main.h"
#include "firmware/fw_outputs.h"
#include "firmware/fw_timers.h"

namespace {

// The heater, the water and the two heater-side fans go quiet whenever the
// cover or drawer is open.
void open_lid_outputs()
{
    sig_off(GREEN_LED);
    sig_off(BLUE_LED);
    sig_on(RED_LED);
    sig_off(WATER_SOL);
    sig_off(HEATER);
    sig_off(HEATER_FAN);
    sig_off(COOLING_FAN);
}

// Every output of the appliance off; the input bits beside them untouched.
void outputs_all_off()
{
    sig_off(RED_LED);
    sig_off(GREEN_LED);
    sig_off(BLUE_LED);
    sig_off(WATER_SOL);
    sig_off(HEATER);
    sig_off(HEATER_FAN);
    sig_off(COOLING_FAN);
    sig_off(MAIN_FAN);
    sig_off(DISK_MOT_A);
    sig_off(DISK_MOT_B);
    sig_off(EXIT_MOT_A);
    sig_off(EXIT_MOT_B);
    main_motor_stop();
    main_motor_timer.status = TIMER_IDLE;
    sig_off(RELAY);
}

// Every timer idle but tick_timer, which is never stopped.
void timers_stop_all()
{
    soft_timer* const stopped[] = {&beeper_timer,    &disk_timer,    &exit_timer, &heater_timer,     &blue_led_timer,
                                   &green_led_timer, &red_led_timer, &fan_timer,  &main_motor_timer, &water_timer};
    for (soft_timer* timer : stopped)
        timer->status = TIMER_IDLE;
}

}  // namespace

void state_startup()
{
    clock_restart();
    phase_timing = 0;
    state_index = ST_POWER_OFF;
}

// Everything off until the power key is pressed and released.
void state_power_off()
{
    delay_ms(1);
    outputs_all_off();
    timers_stop_all();
    do {
        timer_poll(&tick_timer);
    } while (!(poll_event(MASK_POWER_KEY) && last_event == EV_POWER_KEY));
    state_index = ST_STANDBY;
    buzzer(1);
}

// Powered and waiting, the red lamp lit.
void state_standby()
{
    delay_ms(2);
    clock_restart();
    phase_timing = 0;
    buzzer(1);
    sig_on(RED_LED);
    sig_off(GREEN_LED);
    sig_off(BLUE_LED);
    for (;;) {
        timer_poll(&tick_timer);
        if (!poll_event(MASK_POWER_KEY | MASK_COVER_OPENED | MASK_DRAWER_OPENED | MASK_WASH_KEY))
            continue;
        switch (last_event) {
        case EV_POWER_KEY:
            state_index = ST_POWER_OFF;
            return;
        case EV_COVER_OPENED:
            state_index = ST_COVER_OPEN;
            return;
        case EV_DRAWER_OPENED:
            state_index = ST_DRAWER_OPEN;
            return;
        case EV_WASH_KEY:
            state_index = ST_MANUAL_WASH;
            return;
        default:
            break;
        }
    }
}

// The green lamp blinks while the cover is open; an opened drawer sounds its
// alarm inside. Closing a cover opened in standby starts the processing cycle.
void state_cover_open()
{
    state_index = ST_COVER_OPEN;
    state_number = ST_COVER_OPEN + 1;
    clock_restart();
    open_lid_outputs();
    timer_start(&green_led_timer, EVT_BLINK);
    for (;;) {
        timer_poll(&green_led_timer);
        timer_poll(&tick_timer);
        if (!poll_event(MASK_COVER_CLOSED | MASK_DRAWER_OPENED))
            continue;
        if (last_event == EV_COVER_CLOSED)
            break;
        if (last_event == EV_DRAWER_OPENED) {
            state_drawer_open();
            state_index = ST_COVER_OPEN;
            state_number = ST_COVER_OPEN + 1;
        }
    }
    state_index = cover_return_state == ST_STANDBY ? ST_WASHING : cover_return_state;
    cover_return_state = ST_WASHING;
    green_led_timer.status = TIMER_IDLE;
    sig_off(GREEN_LED);
}

// The drawer alarm beeps every 1.8 s with the blue and green lamps blinking
// together, until the drawer is closed.
void state_drawer_open()
{
    state_index = ST_DRAWER_OPEN;
    state_number = ST_DRAWER_OPEN + 1;
    clock_restart();
    open_lid_outputs();
    timer_start(&beeper_timer, EVT_BEEPER);
    timer_start(&blue_led_timer, EVT_BLINK);
    timer_start(&green_led_timer, EVT_BLINK);
    do {
        timer_poll(&beeper_timer);
        timer_poll(&blue_led_timer);
        timer_poll(&green_led_timer);
        timer_poll(&tick_timer);
    } while (!(poll_event(MASK_DRAWER_CLOSED) && last_event == EV_DRAWER_CLOSED));
    state_index = drawer_return_state;
    drawer_return_state = ST_POWER_OFF;
    sig_off(GREEN_LED);
    sig_off(BLUE_LED);
    buzzer(0);
    beeper_timer.status = TIMER_IDLE;
    blue_led_timer.status = TIMER_IDLE;
    green_led_timer.status = TIMER_IDLE;
}

// Fifteen runs of the main motor with water; a second press of the wash key
// ends it early. Power key, cover and drawer are not watched meanwhile.
void state_manual_wash()
{
    clock_restart();
    sig_on(RED_LED);
    sig_off(GREEN_LED);
    sig_on(BLUE_LED);
    buzzer(1);
    timer_start(&main_motor_timer, EVT_MAIN_MOTOR_WASH);
    timer_start(&water_timer, EVT_WATER_WASH);
    for (;;) {
        timer_poll(&main_motor_timer);
        timer_poll(&water_timer);
        timer_poll(&tick_timer);
        if (main_motor_timer.status == TIMER_IDLE)
            break;
        if (poll_event(MASK_WASH_KEY) && last_event == EV_WASH_KEY)
            break;
    }
    state_index = ST_STANDBY;
    sig_off(WATER_SOL);
    main_motor_stop();
    sig_off(RELAY);
    main_motor_timer.status = TIMER_IDLE;
    water_timer.status = TIMER_IDLE;
    buzzer(3);
    sig_off(BLUE_LED);
}
