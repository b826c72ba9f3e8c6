#pragma once
// One parsed line of a scenario: a step, and for run-until, expect and
// expect-for the condition it looks at, for fault and clear the plant fault.

#include <cstdint>
#include <string>

#include "panel/geometry.h"
#include "sim/plant_fault.h"

// What an expectation or a run-until looks at, and the values that make it hold.
struct CScenarioCondition {
    enum Kind { STATE, SIGNAL, READOUT, LAMP, MOTOR, BEEPS, VAR, TIMER };

    Kind kind = STATE;
    int32_t index = 0;     // SIGNAL: row of WIRED_SIGNALS; READOUT, LAMP, MOTOR: READOUT_*, LAMP_*, MOTOR_*;
                           // VAR: row of fw_variables; TIMER: row of fw_timers
    int64_t low = 0;       // the value expected (STATE: state number; SIGNAL: level; LAMP: 1 lit, 0 dark;
    int64_t high = 0;      // TIMER: 1 running, 0 idle), or the range low..high (MOTOR: position; BEEPS:
                           // sounds since the last "expect beeps"; VAR: the variable's value)
    std::string text;      // READOUT: the text expected
    bool negated = false;  // "not CONDITION": holds when the condition does not

    // As it would be written in a scenario: "state 5 (워싱)", "not lamp red on".
    std::string Describe() const;
    bool InRange(int64_t value) const { return value >= low && value <= high; }
};

struct CScenarioStep {
    enum Kind { WAIT, PRESS, RELEASE, CLICK, RUN_UNTIL, EXPECT, RESET_CPU, SNAPSHOT, EXPECT_FOR, FAULT, CLEAR };

    // Default hold of a click, and limit of a run-until without "within".
    static constexpr uint64_t DEFAULT_HOLD_MS = 100;
    static constexpr uint64_t DEFAULT_WITHIN_MS = 600000;
    // A click at the place of the click before it waits until the key has
    // been released this long, so the firmware sees two clicks.
    static constexpr uint64_t RELEASE_GAP_MS = 100;

    Kind kind = WAIT;
    int line = 0;                  // in the scenario file, from 1
    uint64_t ms = 0;               // WAIT: how long; CLICK: how long held; RUN_UNTIL: the limit; EXPECT_FOR: how long
    uint64_t afterMs = 0;          // RUN_UNTIL: the condition must not hold before this
    CPoint point{0, 0};            // PRESS, CLICK: where the mouse goes down
    int input = -1;                // PRESS, RELEASE, CLICK: row of SCENARIO_INPUTS, or -1 for coordinates
    CScenarioCondition condition;  // RUN_UNTIL, EXPECT, EXPECT_FOR
    std::string path;              // SNAPSHOT: the PNG file
    CPlantFault fault;             // FAULT: the fault set; CLEAR: the part cleared (its level unused)
    bool allFaults = false;        // CLEAR: "clear all"

    // As it would be written in a scenario: "click 커버 hold 100".
    std::string Describe() const;
};
