#pragma once
// The disk and exit mechanisms: travels between end switches under a software
// timer with a time-out and back-off retries, homing, and the interruption
// that suspends a running programme while the cover or drawer is open.

#include <cstdint>

inline constexpr uint32_t MOTOR_STEP_MS = 100;         // the end input is examined every 100 ms
inline constexpr uint16_t MOTOR_TIMEOUT_STEPS = 6000;  // 600 s without arrival: the travel failed
inline constexpr uint8_t MOTOR_RETRIES = 3;            // back-offs per direction before giving up

// The start and step procedure of disk_timer and exit_timer: each start event
// (EVT_DISK_TO_LS ... EVT_EXIT_TO_CCW) names a travel and is also its step code.
void motor_timer_start(uint8_t event);
void motor_timer_step(uint8_t code);

enum : uint8_t { END_LS, END_RS };

// Disk to RS, then exit to CCW; the power key abandons the rest.
void home_motors();
// Waits until a disk travel already started toward that end has ended.
void finish_disk_travel(uint8_t end);

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
