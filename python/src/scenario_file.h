#pragma once
// A scenario file run as trelvik-scenario runs it, in this process: from a
// fresh controller, with the machine's invariants at every virtual ms.

#include <string>

#include <pybind11/pybind11.h>

// {"file", "code", "error", "verdicts": [{"line", "time_ms", "held", "error", "what", "seen", "text"}]}.
pybind11::dict run_scenario_file(const std::string& path);
