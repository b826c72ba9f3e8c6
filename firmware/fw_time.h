#pragma once
// The time seam: calendar time and the millisecond sleep of the firmware.
//
// The program's default reads the monotonic clock, split into whole seconds and
// a millisecond field, so setting the system clock can neither end a phase early
// nor make every timer fire at once. Its sleep is whatever the board has put in
// with time_default_sleep_install: the board's firmware thread puts the thread
// layer's sleep there, where a termination request ends the thread; until then
// a plain sleep. Tests install a virtual clock whose sleep advances virtual time.

#include <cstdint>

struct cal_time {
    uint32_t sec;  // whole seconds
    uint16_t ms;   // 0..999
};

struct time_seam {
    cal_time (*now)();
    void (*sleep_ms)(uint32_t ms);
};

// Installs a seam; nullptr puts the monotonic default back.
void time_seam_install(const time_seam* seam);
// The sleep of the monotonic default; nullptr puts the plain sleep back.
void time_default_sleep_install(void (*sleep_ms)(uint32_t ms));

cal_time time_now();
void time_sleep_ms(uint32_t ms);
