#include "firmware/soft_timer.h"

soft_timer* current_timer;

void timer_init(soft_timer* timer, timer_start_proc on_start, timer_step_proc on_step)
{
    timer->status = TIMER_IDLE;
    timer->step_count = 0;
    timer->repeat_count = 0;
    timer->sequence = nullptr;
    timer->on_start = on_start;
    timer->on_step = on_step;
}

void timer_set_sequence(const timer_step_entry* table, uint8_t steps, uint16_t repeats)
{
    current_timer->sequence = table;
    current_timer->step_count = steps;
    current_timer->repeat_count = repeats;
}

void timer_start(soft_timer* timer, uint8_t event)
{
    current_timer = timer;
    // An event the start procedure does not know leaves the previous table.
    if (timer->on_start)
        timer->on_start(event);
    // Due at once, against the clock as it stands, not a fresh reading.
    timer->due_ms = now_ms;
    timer->step_index = 0;
    timer->repeats_done = 0;
    timer->stop_pending = 0;
    timer->status = TIMER_RUNNING;
}

void timer_step(soft_timer* timer)
{
    if (timer->stop_pending) {
        timer->stop_pending = 0;
        timer->status = TIMER_IDLE;
        return;
    }
    // A timer never given a table has nothing to play.
    if (timer->sequence == nullptr || timer->step_count == 0) {
        timer->status = TIMER_IDLE;
        return;
    }
    if (timer->step_index >= timer->step_count)
        timer->step_index = 0;
    const timer_step_entry& entry = timer->sequence[timer->step_index];
    // The due time advances from the previous due time, so a late poll
    // catches up step by step on the following polls.
    timer->due_ms += entry.duration_ms;
    current_timer = timer;
    if (timer->on_step)
        timer->on_step(static_cast<uint8_t>(entry.code));

    // The step may have restarted or stopped this very timer: read it afresh.
    timer->step_index = static_cast<uint8_t>(timer->step_index + 1);
    if (timer->step_index >= timer->step_count) {
        timer->step_index = 0;
        if (timer->repeat_count != TIMER_ENDLESS) {
            timer->repeats_done = static_cast<uint16_t>(timer->repeats_done + 1);
            if (timer->repeats_done >= timer->repeat_count)
                timer->stop_pending = 1;
        }
    }
}

bool timer_is_last_step(const soft_timer* timer)
{
    if (timer->repeat_count == TIMER_ENDLESS)
        return false;
    return timer->step_index + 1 >= timer->step_count && timer->repeats_done + 1 >= timer->repeat_count;
}

void soft_timer_reset_state() { current_timer = nullptr; }
