#pragma once
// The firmware's watched variables and software timers, by the names the
// firmware gives them: what a reader outside the firmware (the tests, the
// scenario runner, the workbench) may look at. Only the board's five exchange
// variables are reached directly (fw_board_vars.h).
//
// A reader on another thread reads only while the firmware stands still (in
// lockstep, inside one of its sleeps): the variables are plain, as on the
// controller.

#include <cstdint>

#include "firmware/soft_timer.h"

struct fw_variable {
    const char* name;  // as the firmware spells it
    uint8_t width;     // 8, 16 or 32 bits
    uint8_t is_signed;
    void* address;
};

extern const fw_variable fw_variables[];
extern const uint8_t FW_VARIABLE_COUNT;

// nullptr when no watched variable has that name.
const fw_variable* fw_variable_find(const char* name);
// The value, widened to 32 bits by its width and sign; a 32-bit unsigned
// value above INT32_MAX reads as its two's complement.
int32_t fw_variable_read(const fw_variable* variable);
// The same widened so that every value reads as the variable holds it: an
// unsigned 32-bit value above INT32_MAX stays positive.
int64_t fw_variable_value(const fw_variable* variable);

// The eleven software timers, in registration order.
struct fw_timer_entry {
    const char* name;
    soft_timer* timer;
};

extern const fw_timer_entry fw_timers[];
extern const uint8_t FW_TIMER_COUNT;

// nullptr when no timer has that name.
const fw_timer_entry* fw_timer_find(const char* name);
