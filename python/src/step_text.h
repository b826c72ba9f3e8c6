#pragma once
// One step of the scenario language, written from a call's arguments and
// read back by the language's own parser, so that a call means exactly what
// the same line means in a scenario file.

#include <cstdint>
#include <string>

#include "scenario/language/scenario_step.h"

// The step of one line; std::invalid_argument with the parser's reason.
CScenarioStep parse_step_line(const std::string& line);
// A name as one word of a line: quoted, so spaces and '#' stay inside it.
std::string step_word(const std::string& name);
