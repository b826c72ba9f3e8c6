#include "firmware/fw_motors.h"

#include "board/port_bytes.h"
#include "firmware/fw_clock.h"
#include "firmware/fw_events.h"
#include "firmware/fw_idle_states.h"
#include "firmware/fw_main.h"
#include "firmware/fw_outputs.h"
#include "firmware/fw_timers.h"

// Private to this file, but watched: fw_watch.cpp alone declares them.
uint8_t disk_retry_ls;  // failed disk travels toward LS not yet made good
uint8_t disk_retry_rs;
uint8_t exit_retry_cw;
uint8_t exit_retry_ccw;
uint8_t outputs_saved;  // SAVED_* bits: the outputs an interruption found on
uint16_t saved_run_sec;
uint32_t saved_now_ms;

namespace {

uint8_t motor_reversing;  // a step is restarting its own timer: keep the counters
uint8_t disk_dir_saved;   // WIRE_*_WAS_ON bits
uint8_t exit_dir_saved;
uint8_t main_motor_saved;  // MAIN_MOTOR_WAS_ON

// The outputs an interruption keeps in outputs_saved, one bit each, and gives
// back when the cover or drawer is closed again.
enum : uint8_t {
    SAVED_RED_LED = 0x01,
    SAVED_GREEN_LED = 0x02,
    SAVED_BLUE_LED = 0x04,
    SAVED_MAIN_FAN = 0x08,
    SAVED_COOLING_FAN = 0x10,
    SAVED_HEATER_FAN = 0x20,
    SAVED_WATER_SOL = 0x40,
    SAVED_HEATER = 0x80,
};

struct saved_output {
    port_signal signal;
    uint8_t bit;
};

const saved_output SAVED_OUTPUTS[] = {
    {RED_LED, SAVED_RED_LED},     {GREEN_LED, SAVED_GREEN_LED},     {BLUE_LED, SAVED_BLUE_LED},
    {MAIN_FAN, SAVED_MAIN_FAN},   {COOLING_FAN, SAVED_COOLING_FAN}, {HEATER_FAN, SAVED_HEATER_FAN},
    {WATER_SOL, SAVED_WATER_SOL}, {HEATER, SAVED_HEATER},
};

// A mechanism's direction in disk_dir_saved or exit_dir_saved.
enum : uint8_t {
    WIRE_B_WAS_ON = 0x01,
    WIRE_A_WAS_ON = 0x02,
};

enum : uint8_t { MAIN_MOTOR_WAS_ON = 0x01 };

// One direction of one mechanism. Its start event is also the code of its one
// step, which examines the end input every 100 ms.
struct travel {
    timer_step_entry watch;  // {start event, MOTOR_STEP_MS}
    soft_timer* timer;
    port_signal drive;  // the wire of this direction
    port_signal other;  // the wire of the opposite direction
    port_signal end;    // reads 0 at this direction's end
    uint8_t* own;       // failures toward this end
    uint8_t* opposite;  // failures toward the other end
    uint8_t reversal;   // start event of the opposite direction
};

// clang-format off
const travel TRAVELS[] = {
    {{EVT_DISK_TO_LS, MOTOR_STEP_MS},  &disk_timer, DISK_MOT_B, DISK_MOT_A, DISK_MOT_LS,
     &disk_retry_ls, &disk_retry_rs, EVT_DISK_TO_RS},
    {{EVT_DISK_TO_RS, MOTOR_STEP_MS},  &disk_timer, DISK_MOT_A, DISK_MOT_B, DISK_MOT_RS,
     &disk_retry_rs, &disk_retry_ls, EVT_DISK_TO_LS},
    {{EVT_EXIT_TO_CW, MOTOR_STEP_MS},  &exit_timer, EXIT_MOT_B, EXIT_MOT_A, OVER_SENSOR_CW,
     &exit_retry_cw, &exit_retry_ccw, EVT_EXIT_TO_CCW},
    {{EVT_EXIT_TO_CCW, MOTOR_STEP_MS}, &exit_timer, EXIT_MOT_A, EXIT_MOT_B, OVER_SENSOR_CCW,
     &exit_retry_ccw, &exit_retry_cw, EVT_EXIT_TO_CW},
};
// clang-format on

// The travel that event starts on the timer now starting or stepping; none
// for an event of the other mechanism, which leaves the timer as it was.
const travel* travel_of(uint8_t event)
{
    for (const travel& t : TRAVELS)
        if (t.watch.code == event && t.timer == current_timer)
            return &t;
    return nullptr;
}

void travel_start(const travel& t)
{
    if (!motor_reversing) {
        *t.own = 0;
        *t.opposite = 0;
    }
    timer_set_sequence(&t.watch, 1, MOTOR_TIMEOUT_STEPS);
    // The other wire first: the two wires of one motor are never on together.
    sig_off(t.other);
    sig_on(t.drive);
}

// The timer is restarted from inside its own step and runs on the other way.
void travel_reverse(const travel& t)
{
    motor_reversing = 1;
    timer_start(t.timer, t.reversal);
    motor_reversing = 0;
}

// A travel that times out backs off to the opposite end and tries again; the
// failures toward an end are forgotten only when that end is reached, and
// after the fourth failure in a row the motor stays off.
void travel_step(const travel& t)
{
    if (sig_read(t.end) == 0) {
        sig_off(t.drive);
        sig_off(t.other);
        current_timer->status = TIMER_IDLE;
        *t.own = 0;
        if (*t.opposite != 0)
            travel_reverse(t);  // that was a back-off: go back to the end that failed
        return;
    }
    if (!timer_is_last_step(current_timer))
        return;
    sig_off(t.drive);
    sig_off(t.other);
    if (*t.opposite != 0) {
        travel_reverse(t);
        return;
    }
    if (sig_read(t.end) == 0)
        return;
    *t.own = static_cast<uint8_t>(*t.own + 1);
    if (*t.own > MOTOR_RETRIES) {
        *t.own = 0;  // given up
        return;
    }
    travel_reverse(t);
}

// The loop of one homing travel; the power key abandons it.
void home_travel(soft_timer* timer, uint8_t event, uint8_t drive)
{
    timer_start(timer, event);
    while (timer->status == TIMER_RUNNING) {
        timer_poll(timer);
        timer_poll(&tick_timer);
        if (programme_events(INTERRUPT_SHORT, drive) == EV_POWER_KEY)
            break;
    }
}

}  // namespace

void motor_timer_start(uint8_t event)
{
    if (const travel* t = travel_of(event))
        travel_start(*t);
}

void motor_timer_step(uint8_t code)
{
    if (const travel* t = travel_of(code))
        travel_step(*t);
}

void home_motors()
{
    disk_timer.status = TIMER_IDLE;
    exit_timer.status = TIMER_IDLE;
    if (sig_read(DISK_MOT_RS) == 1)
        home_travel(&disk_timer, EVT_DISK_TO_RS, DRIVE_DISK);
    disk_timer.status = TIMER_IDLE;
    // Without a travel to watch, the caller's last poll decides.
    if (last_event == EV_POWER_KEY)
        return;
    if (sig_read(OVER_SENSOR_CCW) == 1)
        home_travel(&exit_timer, EVT_EXIT_TO_CCW, DRIVE_EXIT);
    exit_timer.status = TIMER_IDLE;
}

void finish_disk_travel(uint8_t end)
{
    const port_signal end_input = end == END_LS ? DISK_MOT_LS : DISK_MOT_RS;
    if (sig_read(end_input) == 1 && disk_timer.status == TIMER_RUNNING) {
        while (disk_timer.status == TIMER_RUNNING) {
            timer_poll(&disk_timer);
            timer_poll(&main_motor_timer);
            timer_poll(&tick_timer);
            if (programme_events(INTERRUPT_FULL, DRIVE_DISK) == EV_POWER_KEY)
                break;
        }
    }
    disk_timer.status = TIMER_IDLE;
    sig_off(DISK_MOT_A);
    sig_off(DISK_MOT_B);
}

namespace {

// What an interruption keeps and gives back.

void dir_save(uint8_t& saved, port_signal b, port_signal a)
{
    saved = static_cast<uint8_t>(sig_read(b) ? saved | WIRE_B_WAS_ON : saved & ~WIRE_B_WAS_ON);
    saved = static_cast<uint8_t>(sig_read(a) ? saved | WIRE_A_WAS_ON : saved & ~WIRE_A_WAS_ON);
    sig_off(b);
    sig_off(a);
}

void dir_restore(uint8_t saved, port_signal b, port_signal a)
{
    if (saved & WIRE_B_WAS_ON) {
        sig_off(a);
        sig_on(b);
    } else if (saved & WIRE_A_WAS_ON) {
        sig_off(b);
        sig_on(a);
    }
}

void clocks_save()
{
    saved_run_sec = run_sec;
    saved_now_ms = now_ms;
}

// The programme's timers go on from where they stood: its clock resumes at
// the reading it had when the cover or drawer opened, so the time spent open
// does not count. The seconds count starts again from 0 at the next update.
void clocks_restore()
{
    clock_rebase_to(saved_now_ms);
    run_sec_started = 0;
    run_sec = saved_run_sec;
}

void outputs_save()
{
    uint8_t bits = 0;
    for (const saved_output& output : SAVED_OUTPUTS)
        if (sig_read(output.signal))
            bits = static_cast<uint8_t>(bits | output.bit);
    outputs_saved = bits;
    // The lamps keep their state; the cover or drawer state sets them.
    sig_off(HEATER);
    sig_off(WATER_SOL);
    sig_off(COOLING_FAN);
    sig_off(HEATER_FAN);
    sig_off(MAIN_FAN);
}

void outputs_restore()
{
    if (outputs_saved & SAVED_HEATER_FAN) {
        // The heater's regulation starts afresh with the heater fan.
        heater_regulation_restart();
        sig_on(HEATER_FAN);
    }
    if (outputs_saved & SAVED_MAIN_FAN)
        sig_on(MAIN_FAN);
    if (outputs_saved & SAVED_COOLING_FAN)
        sig_on(COOLING_FAN);
    if (outputs_saved & SAVED_WATER_SOL)
        sig_on(WATER_SOL);
    if (outputs_saved & SAVED_HEATER)
        sig_on(HEATER);
    sig_write(RED_LED, outputs_saved & SAVED_RED_LED);
    sig_write(GREEN_LED, outputs_saved & SAVED_GREEN_LED);
    sig_write(BLUE_LED, outputs_saved & SAVED_BLUE_LED);
}

void main_motor_save()
{
    main_motor_saved = static_cast<uint8_t>((main_motor_saved & ~MAIN_MOTOR_WAS_ON) | (main_motor_on & 0x01));
    main_motor_stop();
}

void main_motor_restore()
{
    if (main_motor_saved & MAIN_MOTOR_WAS_ON)
        main_motor_start();
}

void disk_dir_save() { dir_save(disk_dir_saved, DISK_MOT_B, DISK_MOT_A); }
void disk_dir_restore() { dir_restore(disk_dir_saved, DISK_MOT_B, DISK_MOT_A); }
void exit_dir_save() { dir_save(exit_dir_saved, EXIT_MOT_B, EXIT_MOT_A); }
void exit_dir_restore() { dir_restore(exit_dir_saved, EXIT_MOT_B, EXIT_MOT_A); }

}  // namespace

void interruption(uint8_t kind, uint8_t drive)
{
    clocks_save();
    if (drive == DRIVE_DISK)
        disk_dir_save();
    else
        exit_dir_save();
    if (kind == INTERRUPT_FULL)
        main_motor_save();
    outputs_save();

    // The cover state also serves a drawer opened meanwhile.
    const int32_t interrupted = state_index;
    if (last_event == EV_COVER_OPENED)
        state_cover_open();
    else
        state_drawer_open();
    state_index = interrupted;
    state_number = static_cast<uint16_t>(state_index + 1);

    outputs_restore();
    if (kind == INTERRUPT_FULL)
        main_motor_restore();
    if (drive == DRIVE_DISK)
        disk_dir_restore();
    else
        exit_dir_restore();
    clocks_restore();
}

int32_t programme_events(uint8_t kind, uint8_t drive)
{
    if (!poll_event(MASK_POWER_KEY | MASK_COVER_OPENED | MASK_DRAWER_OPENED))
        return EV_NONE;
    // The interruption's own polls overwrite last_event.
    const int32_t event = last_event;
    if (event == EV_POWER_KEY)
        state_index = ST_POWER_OFF;
    else
        interruption(kind, drive);
    return event;
}

void motors_reset_state()
{
    disk_retry_ls = 0;
    disk_retry_rs = 0;
    exit_retry_cw = 0;
    exit_retry_ccw = 0;
    motor_reversing = 0;
    disk_dir_saved = 0;
    exit_dir_saved = 0;
    main_motor_saved = 0;
    outputs_saved = 0;
    saved_run_sec = 0;
    saved_now_ms = 0;
}
