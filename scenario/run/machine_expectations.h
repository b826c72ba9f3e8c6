#pragma once
// Where the machine stands, written as expectations in the runner's
// language: the state, the three lamps, the firmware's output signals and
// the three motors' positions. A saved workbench session and a generated
// suite both end with them, so that a replay checks it comes to the same end.

#include <string>

class CVirtualSimulator;

class CMachineExpectations {
public:
    // One "expect ..." line each; the simulator stands still between two runs.
    static std::string Text(CVirtualSimulator& sim);
};
