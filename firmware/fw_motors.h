#pragma once
// The disk and exit mechanisms: travels between end switches under a software
// timer with a time-out and back-off retries, homing, and the interruption
// that suspends a running programme while the cover or drawer is open.

#include <cstdint>

inline constexpr uint32_t MOTOR_STEP_MS = 100;         // the end input is examined every 100 ms
inline constexpr uint16_t MOTOR_TIMEOUT_STEPS = 6000;  // 600 s without arrival: the travel failed
inline constexpr uint8_t MOTOR_RETRIES = 3;            // back-offs per direction before giving up

extern uint8_t disk_retry_ls;   // failed disk travels toward LS not yet made good
extern uint8_t disk_retry_rs;
extern uint8_t exit_retry_cw;
extern uint8_t exit_retry_ccw;
extern uint8_t motor_reversing;  // a step is restarting its own timer: keep the counters
extern uint8_t disk_dir_saved;   // bit 0: B wire was on, bit 1: A wire was on
extern uint8_t exit_dir_saved;
extern uint8_t main_motor_saved;  // bit 0: the main motor was on
// bit 0 RED_LED, 1 GREEN_LED, 2 BLUE_LED, 3 MAIN_FAN, 4 COOLING_FAN, 5 HEATER_FAN,
// 6 WATER_SOL, 7 HEATER
extern uint8_t outputs_saved;
extern uint16_t saved_run_sec;
extern uint32_t saved_now_ms;

// Start and step procedures of disk_timer and exit_timer.
void disk_timer_start(uint8_t event);
void disk_timer_step(uint8_t code);
void exit_timer_start(uint8_t event);
void exit_timer_step(uint8_t code);

enum : uint8_t { END_LS, END_RS };

// Disk to RS, then exit to CCW; the power key abandons the rest.
void home_motors();
// Waits until a disk travel already started toward that end has ended.
void finish_disk_travel(uint8_t end);

void clocks_save();
void clocks_restore();
void outputs_save();
void outputs_restore();
void main_motor_save();
void main_motor_restore();
void disk_dir_save();
void disk_dir_restore();
void exit_dir_save();
void exit_dir_restore();

enum : uint8_t { DRIVE_DISK, DRIVE_EXIT };
enum : uint8_t {
    INTERRUPT_SHORT,  // the main motor is left alone
    INTERRUPT_FULL,   // the main motor is stopped and restarted too
};

// Suspends the programme while the cover or drawer (as last_event says) is
// open and resumes it, with the given drive, once it is closed again.
void interruption(uint8_t kind, uint8_t drive);
// The end of every pass of a programme loop: the power key ends the programme
// (state_index := ST_POWER_OFF), an opened cover or drawer runs an
// interruption of `kind` with `drive`. Returns the event seen, or EV_NONE.
int32_t programme_events(uint8_t kind, uint8_t drive);

// Back to the program-load state; for test fixtures.
void motors_reset_state();
