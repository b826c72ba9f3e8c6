#pragma once
// Reads a scenario's condition: "state 워싱", "signal HEATER 1", "not lamp
// red on", "var disk_retry_ls 0..3", "timer disk_timer idle", ...

#include "scenario/language/line_words.h"
#include "scenario/language/scenario_step.h"

// Takes the rest of the line; throws CLineError for anything not understood.
CScenarioCondition scenario_parse_condition(CLineWords& args);
