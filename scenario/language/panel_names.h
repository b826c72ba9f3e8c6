#pragma once
// The names a scenario uses for the panel: the inputs a click can reach, the
// lamps, motors and readouts. The 27 wired signals are the board's WIRED_SIGNALS.

#include <cstdint>
#include <string>

#include "board/wired_signals.h"
#include "panel/geometry.h"
#include "sim/panel_parts.h"

// A clickable input by its caption ("전원") or role ("power").
struct CScenarioInput {
    const char* caption;
    const char* role;
    CPoint point;  // where a click reaches it, open or closed
};
inline constexpr int SCENARIO_INPUT_COUNT = 4;
extern const CScenarioInput SCENARIO_INPUTS[SCENARIO_INPUT_COUNT];
int scenario_input_index(const std::string& captionOrRole);

// The readouts by the names a scenario gives them; the lamps and motors are
// named in sim/panel_parts.h.
enum : int32_t { READOUT_STATE, READOUT_RUN_SEC };
extern const char* const SCENARIO_READOUTS[2];  // "state", "run_sec"
