#include "firmware/fw_watch.h"

#include <cstring>
#include <type_traits>

#include "firmware/fw_clock.h"
#include "firmware/fw_cycle.h"
#include "firmware/fw_events.h"
#include "firmware/fw_main.h"
#include "firmware/fw_outputs.h"
#include "firmware/fw_timers.h"

// Watched variables private to their module are declared here and nowhere
// else: they keep external linkage so that this one table can reach them, and
// no header names them, so no other file does.
extern uint8_t heater_cut;     // fw_timers.cpp
extern uint8_t disk_retry_ls;  // fw_motors.cpp
extern uint8_t disk_retry_rs;
extern uint8_t exit_retry_cw;
extern uint8_t exit_retry_ccw;
extern uint8_t outputs_saved;
extern uint16_t saved_run_sec;
extern uint32_t saved_now_ms;

namespace {

template <typename T>
constexpr fw_variable watch(const char* name, T& variable)
{
    return fw_variable{name, static_cast<uint8_t>(8 * sizeof(T)), std::is_signed_v<T>, &variable};
}

}  // namespace

// The name as the firmware spells it; the width and sign from the variable itself.
#define WATCH(variable) watch(#variable, variable)

const fw_variable fw_variables[] = {
    // the operating state
    WATCH(state_index),
    WATCH(state_number),
    WATCH(cover_return_state),
    WATCH(drawer_return_state),
    WATCH(last_event),
    // the time base
    WATCH(now_ms),
    WATCH(run_sec),
    WATCH(run_sec_started),
    // the cycle and the heater
    WATCH(phase_timing),
    WATCH(heater_pulses),
    WATCH(heater_reading),
    WATCH(heater_cut),
    // outputs beside their bits
    WATCH(main_motor_on),
    WATCH(buzzer_request),
    // the mechanisms and what an interruption keeps
    WATCH(disk_retry_ls),
    WATCH(disk_retry_rs),
    WATCH(exit_retry_cw),
    WATCH(exit_retry_ccw),
    WATCH(outputs_saved),
    WATCH(saved_run_sec),
    WATCH(saved_now_ms),
};

#undef WATCH

const uint8_t FW_VARIABLE_COUNT = sizeof fw_variables / sizeof fw_variables[0];

const fw_timer_entry fw_timers[] = {
    {"tick_timer", &tick_timer},
    {"beeper_timer", &beeper_timer},
    {"disk_timer", &disk_timer},
    {"exit_timer", &exit_timer},
    {"heater_timer", &heater_timer},
    {"blue_led_timer", &blue_led_timer},
    {"green_led_timer", &green_led_timer},
    {"red_led_timer", &red_led_timer},
    {"fan_timer", &fan_timer},
    {"main_motor_timer", &main_motor_timer},
    {"water_timer", &water_timer},
};

const uint8_t FW_TIMER_COUNT = sizeof fw_timers / sizeof fw_timers[0];

const fw_variable* fw_variable_find(const char* name)
{
    for (const fw_variable& variable : fw_variables)
        if (std::strcmp(variable.name, name) == 0)
            return &variable;
    return nullptr;
}

int32_t fw_variable_read(const fw_variable* variable)
{
    const void* at = variable->address;
    switch (variable->width) {
    case 8:
        return variable->is_signed ? *static_cast<const int8_t*>(at) : *static_cast<const uint8_t*>(at);
    case 16:
        return variable->is_signed ? *static_cast<const int16_t*>(at) : *static_cast<const uint16_t*>(at);
    default:
        return variable->is_signed ? *static_cast<const int32_t*>(at)
                                   : static_cast<int32_t>(*static_cast<const uint32_t*>(at));
    }
}

int64_t fw_variable_value(const fw_variable* variable)
{
    const int32_t value = fw_variable_read(variable);
    return variable->is_signed ? value : int64_t{static_cast<uint32_t>(value)};
}

const fw_timer_entry* fw_timer_find(const char* name)
{
    for (const fw_timer_entry& entry : fw_timers)
        if (std::strcmp(entry.name, name) == 0)
            return &entry;
    return nullptr;
}
