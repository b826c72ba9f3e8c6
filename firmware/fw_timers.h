#pragma once
// The eleven software timers of the controller, their start events and the
// step codes of their tables.

#include <cstdint>

#include "firmware/soft_timer.h"

// In registration order.
extern soft_timer tick_timer;      // the loops' pace: two 1 ms yields per step
extern soft_timer beeper_timer;    // drawer alarm: a beep request every 1.8 s
extern soft_timer disk_timer;      // disk travel, watched every 100 ms
extern soft_timer exit_timer;      // exit travel, watched every 100 ms
extern soft_timer heater_timer;    // heater regulation every 500 ms
extern soft_timer blue_led_timer;  // lamp blinking 300 ms lit / 300 ms dark
extern soft_timer green_led_timer;
extern soft_timer red_led_timer;
extern soft_timer fan_timer;         // main fan for 20 s
extern soft_timer main_motor_timer;  // main motor 5 s on, 2 s off, relay reversed at each stop
extern soft_timer water_timer;       // three water pulses of 3 s

// Start events.
enum : uint8_t {
    EVT_TICK = 1,
    EVT_BEEPER = 4,
    EVT_MAIN_MOTOR_WASH = 10,   // 15 runs, ending with the relay off
    EVT_MAIN_MOTOR_CYCLE = 11,  // endless
    EVT_DISK_TO_LS = 12,
    EVT_DISK_TO_RS = 13,
    EVT_EXIT_TO_CW = 14,
    EVT_EXIT_TO_CCW = 15,
    EVT_WATER_DRYING = 20,
    EVT_WATER_WASH = 21,
    EVT_HEATER = 22,
    EVT_MAIN_FAN = 25,
    EVT_BLINK = 30,
};

// Step codes (the motor travels step with their start event as the code).
enum : uint8_t {
    STEP_TICK = 1,
    STEP_BEEP = 2,
    STEP_SILENCE = 3,
    STEP_MAIN_MOTOR_RUN = 5,
    STEP_MAIN_MOTOR_PAUSE = 6,
    STEP_WATER_OPEN = 18,
    STEP_WATER_CLOSE = 19,
    STEP_HEATER_REGULATE = 22,
    STEP_MAIN_FAN_ON = 23,
    STEP_MAIN_FAN_OFF = 24,
    STEP_LAMP_OFF = 28,
    STEP_LAMP_ON = 29,
};

inline constexpr uint32_t MAIN_MOTOR_RUN_MS = 5000;
inline constexpr uint32_t MAIN_MOTOR_PAUSE_MS = 2000;
inline constexpr uint16_t MAIN_MOTOR_WASH_RUNS = 15;
inline constexpr uint32_t MAIN_FAN_MS = 20000;
inline constexpr uint32_t BLINK_MS = 300;
inline constexpr uint32_t BEEP_MS = 900;
inline constexpr uint32_t HEATER_STEP_MS = 500;
inline constexpr uint32_t WATER_MS = 3000;
inline constexpr uint16_t WATER_PULSES = 3;

// timer_init for all eleven, in order, each with its start and step procedure.
void timers_register();

// The heater's regulation starts afresh: the heater counts as not cut and one
// pulse as seen, so the next half-second step finds it on.
void heater_regulation_restart();

// Back to the program-load state; for test fixtures.
void timers_reset_state();
