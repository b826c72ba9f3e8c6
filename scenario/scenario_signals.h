#pragma once
// The names a scenario uses for the panel: the inputs a click can reach, the
// lamps, motors and readouts. The 27 wired signals are the board's WIRED_SIGNALS.

#include <cstdint>
#include <string>

#include "board/wired_signals.h"
#include "panel/geometry.h"

// A clickable input by its caption ("전원") or role ("power").
struct CScenarioInput {
    const char* caption;
    const char* role;
    CPoint point;  // where a click reaches it, open or closed
};
inline constexpr int SCENARIO_INPUT_COUNT = 4;
extern const CScenarioInput SCENARIO_INPUTS[SCENARIO_INPUT_COUNT];
int scenario_input_index(const std::string& captionOrRole);

// The lamps, motors and readouts by the names a scenario gives them.
enum : int32_t { LAMP_RED, LAMP_GREEN, LAMP_BLUE };
enum : int32_t { MOTOR_DISK, MOTOR_EXIT, MOTOR_MAIN };
enum : int32_t { READOUT_STATE, READOUT_RUN_SEC };
extern const char* const SCENARIO_LAMPS[3];     // "red", "green", "blue"
extern const char* const SCENARIO_MOTORS[3];    // "disk", "exit", "main"
extern const char* const SCENARIO_READOUTS[2];  // "state", "run_sec"
// The position of `name` in a table of `count` names, or -1.
int scenario_name_index(const char* const* names, int count, const std::string& name);
