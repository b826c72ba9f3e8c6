#pragma once
// The software timer engine. A timer plays a table of steps: each step hands
// its code to the timer's step procedure, then waits the step's duration; the
// table is played a fixed number of passes or forever. Nothing interrupts:
// the state loops poll their timers, and a timer steps only when polled and due.

#include <cstdint>

#include "firmware/fw_clock.h"

// One step of a table: the code handed to the step procedure, then the wait.
struct timer_step_entry {
    uint32_t code;         // 8-bit code in a 32-bit slot
    uint32_t duration_ms;  // wait that follows the step
};

enum : uint8_t {
    TIMER_IDLE = 0,
    TIMER_RUNNING = 2,
};

inline constexpr uint16_t TIMER_ENDLESS = 0xFFFF;

using timer_start_proc = void (*)(uint8_t event);
using timer_step_proc = void (*)(uint8_t code);

struct soft_timer {
    uint8_t step_index;                // step that runs next
    uint16_t repeats_done;             // completed passes through the table
    uint32_t due_ms;                   // now_ms at or after which the next step runs
    uint8_t status;                    // TIMER_IDLE or TIMER_RUNNING
    uint8_t stop_pending;              // table played out: the next step only stops
    uint8_t step_count;                // entries in the table
    uint16_t repeat_count;             // passes to play, TIMER_ENDLESS = forever
    const timer_step_entry* sequence;  // the table being played
    timer_start_proc on_start;         // chooses the table; may be absent
    timer_step_proc on_step;           // performs a step
};

// The timer whose start or step procedure is running.
extern soft_timer* current_timer;

void timer_init(soft_timer* timer, timer_start_proc on_start, timer_step_proc on_step);
// Sets the table of current_timer; only start procedures call it.
void timer_set_sequence(const timer_step_entry* table, uint8_t steps, uint16_t repeats);
void timer_start(soft_timer* timer, uint8_t event);
void timer_step(soft_timer* timer);
// Inside a step procedure: whether the running step is the last of the last pass.
bool timer_is_last_step(const soft_timer* timer);

// The poll every state loop makes on each timer it owns.
inline void timer_poll(soft_timer* timer)
{
    if (timer->status == TIMER_RUNNING && timer->due_ms <= now_ms)
        timer_step(timer);
}

// Back to the program-load state; for test fixtures.
void soft_timer_reset_state();
