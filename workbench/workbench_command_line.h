#pragma once
// The workbench's command line:
//   trelvik-workbench [--speed S] [--paused] [--trace VARIABLE]... [--baseline FILE.vcd] [FILE.scn]
// read before any window exists, so --help and --version need no display.

#include <string>

#include "trace/baseline_trace.h"
#include <vector>

class CWorkbenchWindow;

class CWorkbenchCommandLine {
public:
    // -1 when the window is to start; otherwise the exit code (0 after --help
    // or --version, 2 after a usage error, reported on stderr).
    int Parse(int argc, char** argv);
    // Sets the speed, hands over the baseline, opens the scenario and starts
    // the clock; false, with the reason on stderr, when the scenario cannot be read.
    bool Apply(CWorkbenchWindow& window);

private:
    int m_speed = 1;  // row of CFrameClock::SPEEDS
    bool m_paused = false;
    std::string m_scenario;
    std::vector<std::string> m_traced;
    CBaselineTrace m_baseline;  // read before any window opens
};
