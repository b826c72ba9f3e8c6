#pragma once
// The controller's time base: a millisecond clock counted from a base instant,
// the run-seconds counter shown on the panel, and the wait primitive through
// which the firmware gives time to the board.

#include <cstdint>

#include "firmware/fw_board_vars.h"
#include "firmware/fw_time.h"

// run_sec, the whole seconds since the run-seconds base, is in fw_board_vars.h.
extern uint32_t now_ms;           // milliseconds since the clock's base
extern uint16_t run_sec_started;  // 0: the next clock_update takes a new run-seconds base

// Takes the present instant as the clock's base; callers zero now_ms first.
void clock_rebase();
// Moves the clock's base back so that now_ms reads `reading` at this instant
// and counts on from there: a suspended programme's clock frame resumes.
void clock_rebase_to(uint32_t reading);
// Milliseconds from clock_base to the present instant.
uint32_t clock_read_ms();
// Recomputes now_ms and run_sec; takes a run_sec base when none is taken.
void clock_update();
// The controller's busy delays; none of them waits in this system.
void delay_ms(uint32_t ms);
// Sleeps 1 ms, updates the clock and lets the board exchange its bits.
void fw_yield();

// A new clock frame: now_ms reads 0 until the next clock_update.
inline void clock_restart()
{
    now_ms = 0;
    clock_rebase();
}
// The seconds count starts again from 0; the next clock_update takes the base.
inline void run_sec_restart()
{
    run_sec_started = 0;
    run_sec = 0;
}

// Back to the program-load state (all zero); for test fixtures.
void clock_reset_state();
