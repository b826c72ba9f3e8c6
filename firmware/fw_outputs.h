#pragma once
// The small actuator helpers every state uses: the buzzer request, the main
// motor, the keys' rest level and the lamp test.

#include <cstdint>

#include "firmware/fw_board_vars.h"

extern uint8_t main_motor_on;  // kept beside the MAIN_MOTOR bit

// A beep pattern for the board to sound; 0 silences.
void buzzer(uint8_t pattern);
void main_motor_start();
void main_motor_stop();
// Both keys read released.
void keys_release();
// All three lamps lit for a moment that the panel never shows.
void lamp_test();

// Back to the program-load state (all zero); for test fixtures.
void outputs_reset_state();
