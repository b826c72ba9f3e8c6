#pragma once
// The processing cycle: washing, cutting, drying and discharge, in that order,
// then standby. Each phase positions a mechanism, runs its actuators and ends
// on a time or a heater condition; the power key ends the cycle and an opened
// cover or drawer suspends it.

#include <cstdint>

#include "firmware/fw_board_vars.h"

inline constexpr uint16_t PHASE_SECONDS = 30;     // washing, cutting and discharge
inline constexpr uint16_t DRY_END_READING = 516;  // drying ends above this reading

// heater_reading, the heater's warmth written by the board, is in fw_board_vars.h.
extern uint8_t phase_timing;  // 0: positioning under way, 1: the timed part has begun

void state_washing();
void state_cutting();
void state_drying();
void state_discharge();

// Back to the program-load state; for test fixtures.
void cycle_reset_state();
