#pragma once
// The firmware's side of the board link: the five variables the board reads
// or writes on every exchange, reached directly so that the exchange stays
// quick. Every other reader outside the firmware looks a variable up by name
// in the table of watched variables (fw_watch.h).

#include <cstdint>

extern uint16_t state_number;    // state_index + 1, shown on the panel (fw_main)
extern uint16_t run_sec;         // whole seconds of the running phase, shown on the panel (fw_clock)
extern uint8_t buzzer_request;   // non-zero: a beep the board has not sounded yet (fw_outputs)
extern uint8_t heater_pulses;    // counted up by the board while the heater is on (fw_timers)
extern uint16_t heater_reading;  // written by the board: the heater's warmth, 0 while off (fw_cycle)
