#pragma once
// One parsed line of a scenario: a step, and for run-until and expect the
// condition it looks at.

#include <cstdint>
#include <string>

#include "panel/geometry.h"

// What an expectation or a run-until looks at, and the values that make it hold.
struct CScenarioCondition {
    enum Kind { STATE, SIGNAL, READOUT, LAMP, MOTOR, BEEPS };

    Kind kind = STATE;
    int32_t index = 0;  // SIGNAL: row of WIRED_SIGNALS; READOUT, LAMP, MOTOR: READOUT_*, LAMP_*, MOTOR_*
    int64_t low = 0;    // the value expected (STATE: state number; SIGNAL: level; LAMP: 1 lit, 0 dark),
    int64_t high = 0;   // or the range low..high (MOTOR: position; BEEPS: sounds since the last "expect beeps")
    std::string text;   // READOUT: the text expected

    // As it would be written in a scenario: "state 5 (워싱)", "lamp red on".
    std::string Describe() const;
    bool InRange(int64_t value) const { return value >= low && value <= high; }
};

struct CScenarioStep {
    enum Kind { WAIT, PRESS, RELEASE, CLICK, RUN_UNTIL, EXPECT, RESET_CPU, SNAPSHOT };

    // Default hold of a click, and limit of a run-until without "within".
    static constexpr uint64_t DEFAULT_HOLD_MS = 100;
    static constexpr uint64_t DEFAULT_WITHIN_MS = 600000;

    Kind kind = WAIT;
    int line = 0;              // in the scenario file, from 1
    uint64_t ms = 0;           // WAIT: how long; CLICK: how long held; RUN_UNTIL: the limit
    CPoint point{0, 0};        // PRESS, CLICK: where the mouse goes down
    int input = -1;            // PRESS, RELEASE, CLICK: row of SCENARIO_INPUTS, or -1 for coordinates
    CScenarioCondition condition;  // RUN_UNTIL, EXPECT
    std::string path;          // SNAPSHOT: the PNG file

    // As it would be written in a scenario: "click 커버 hold 100".
    std::string Describe() const;
};
