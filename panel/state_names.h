#pragma once
// The Korean names of the controller's ten operating states, by the number
// the panel shows (state_index + 1): "워싱" for 5.

#include <cstdint>

inline constexpr int32_t STATE_NUMBER_FIRST = 1;
inline constexpr int32_t STATE_NUMBER_LAST = 10;

// The name of a shown state number 1..10; "" for any other number, so no
// table is ever read past its end.
const char* state_name(int32_t stateNumber);
// The shown state number of a name, or 0.
int32_t state_number_of(const char* name);
