#include "firmware/fw_timers.h"

#include "board/port_bytes.h"
#include "firmware/fw_board_vars.h"
#include "firmware/fw_clock.h"
#include "firmware/fw_motors.h"
#include "firmware/fw_outputs.h"

soft_timer tick_timer;
soft_timer beeper_timer;
soft_timer disk_timer;
soft_timer exit_timer;
soft_timer heater_timer;
soft_timer blue_led_timer;
soft_timer green_led_timer;
soft_timer red_led_timer;
soft_timer fan_timer;
soft_timer main_motor_timer;
soft_timer water_timer;

uint8_t heater_pulses;
// The regulation has switched the heater off. Private to the heater's
// regulation; watched through fw_watch.cpp, which alone declares it.
uint8_t heater_cut;

namespace {

const timer_step_entry tick_table[] = {{STEP_TICK, 0}};
const timer_step_entry beeper_table[] = {{STEP_BEEP, BEEP_MS}, {STEP_SILENCE, BEEP_MS}};
const timer_step_entry heater_table[] = {{STEP_HEATER_REGULATE, HEATER_STEP_MS}};
const timer_step_entry blink_table[] = {{STEP_LAMP_ON, BLINK_MS}, {STEP_LAMP_OFF, BLINK_MS}};
const timer_step_entry fan_table[] = {{STEP_MAIN_FAN_ON, MAIN_FAN_MS}, {STEP_MAIN_FAN_OFF, 0}};
const timer_step_entry main_motor_table[] = {{STEP_MAIN_MOTOR_RUN, MAIN_MOTOR_RUN_MS},
                                             {STEP_MAIN_MOTOR_PAUSE, MAIN_MOTOR_PAUSE_MS}};
const timer_step_entry water_drying_table[] = {{STEP_WATER_OPEN, WATER_MS}, {STEP_WATER_CLOSE, WATER_MS}};
const timer_step_entry water_wash_table[] = {{STEP_WATER_OPEN, WATER_MS}, {STEP_WATER_CLOSE, WATER_MS}};

template <typename T, unsigned N>
constexpr uint8_t steps_of(const T (&)[N])
{
    return static_cast<uint8_t>(N);
}

// Every event paces the loops the same way.
void tick_start(uint8_t) { timer_set_sequence(tick_table, steps_of(tick_table), TIMER_ENDLESS); }

// Each tick gives the board two exchanges and the clock two updates.
void tick_step(uint8_t)
{
    fw_yield();
    fw_yield();
}

void beeper_start(uint8_t event)
{
    if (event == EVT_BEEPER)
        timer_set_sequence(beeper_table, steps_of(beeper_table), TIMER_ENDLESS);
}

void beeper_step(uint8_t code)
{
    if (code == STEP_BEEP)
        buzzer(2);
    else if (code == STEP_SILENCE)
        buzzer(0);
}

void heater_start(uint8_t event)
{
    if (event != EVT_HEATER)
        return;
    timer_set_sequence(heater_table, steps_of(heater_table), TIMER_ENDLESS);
    heater_regulation_restart();
}

// The board counts a pulse for every exchange with the heater on; a
// half-second without one means the heater has been cut off.
void heater_step(uint8_t code)
{
    if (code != STEP_HEATER_REGULATE)
        return;
    if (heater_pulses == 0) {
        heater_cut = 1;
        sig_off(HEATER);
        return;
    }
    heater_pulses = 0;
    if (heater_cut) {
        heater_cut = 0;
        sig_on(HEATER);
    }
}

// The three lamp timers share one start procedure.
void blink_start(uint8_t event)
{
    if (event == EVT_BLINK)
        timer_set_sequence(blink_table, steps_of(blink_table), TIMER_ENDLESS);
}

void lamp_step(port_signal lamp, uint8_t code)
{
    if (code == STEP_LAMP_ON)
        sig_on(lamp);
    else if (code == STEP_LAMP_OFF)
        sig_off(lamp);
}

void blue_led_step(uint8_t code) { lamp_step(BLUE_LED, code); }
void green_led_step(uint8_t code) { lamp_step(GREEN_LED, code); }
void red_led_step(uint8_t code) { lamp_step(RED_LED, code); }

void fan_start(uint8_t event)
{
    if (event == EVT_MAIN_FAN)
        timer_set_sequence(fan_table, steps_of(fan_table), 1);
}

void fan_step(uint8_t code)
{
    if (code == STEP_MAIN_FAN_ON)
        sig_on(MAIN_FAN);
    else if (code == STEP_MAIN_FAN_OFF)
        sig_off(MAIN_FAN);
}

void main_motor_timer_start(uint8_t event)
{
    if (event == EVT_MAIN_MOTOR_CYCLE)
        timer_set_sequence(main_motor_table, steps_of(main_motor_table), TIMER_ENDLESS);
    else if (event == EVT_MAIN_MOTOR_WASH)
        timer_set_sequence(main_motor_table, steps_of(main_motor_table), MAIN_MOTOR_WASH_RUNS);
}

// The relay reverses the main motor at every stop; the last stop of a
// counted programme leaves it off.
void main_motor_timer_step(uint8_t code)
{
    if (code == STEP_MAIN_MOTOR_RUN) {
        main_motor_start();
    } else if (code == STEP_MAIN_MOTOR_PAUSE) {
        main_motor_stop();
        if (timer_is_last_step(current_timer))
            sig_off(RELAY);
        else
            sig_write(RELAY, !sig_read(RELAY));
    }
}

void water_start(uint8_t event)
{
    if (event == EVT_WATER_DRYING)
        timer_set_sequence(water_drying_table, steps_of(water_drying_table), WATER_PULSES);
    else if (event == EVT_WATER_WASH)
        timer_set_sequence(water_wash_table, steps_of(water_wash_table), WATER_PULSES);
}

void water_step(uint8_t code)
{
    if (code == STEP_WATER_OPEN)
        sig_on(WATER_SOL);
    else if (code == STEP_WATER_CLOSE)
        sig_off(WATER_SOL);
}

}  // namespace

void timers_register()
{
    timer_init(&tick_timer, tick_start, tick_step);
    timer_init(&beeper_timer, beeper_start, beeper_step);
    timer_init(&disk_timer, motor_timer_start, motor_timer_step);
    timer_init(&exit_timer, motor_timer_start, motor_timer_step);
    timer_init(&heater_timer, heater_start, heater_step);
    timer_init(&blue_led_timer, blink_start, blue_led_step);
    timer_init(&green_led_timer, blink_start, green_led_step);
    timer_init(&red_led_timer, blink_start, red_led_step);
    timer_init(&fan_timer, fan_start, fan_step);
    timer_init(&main_motor_timer, main_motor_timer_start, main_motor_timer_step);
    timer_init(&water_timer, water_start, water_step);
}

void heater_regulation_restart()
{
    heater_cut = 0;
    heater_pulses = 1;
}

void timers_reset_state()
{
    soft_timer* const all[] = {&tick_timer,   &beeper_timer,     &disk_timer,      &exit_timer,
                               &heater_timer, &blue_led_timer,   &green_led_timer, &red_led_timer,
                               &fan_timer,    &main_motor_timer, &water_timer};
    for (soft_timer* timer : all)
        *timer = soft_timer{};
    heater_pulses = 0;
    heater_cut = 0;
}
