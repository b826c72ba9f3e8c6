#pragma once
// A session written as a scenario in the runner's language: what the user
// did (record), then, as expectations, the appliance as it stands at the
// end: the state, the three lamps, the firmware's output signals and the
// three motors' positions. Replayed by trelvik-scenario from a fresh
// controller, it comes to the same end.

#include <string>

class CSessionRecord;
class CVirtualSimulator;

class CSessionScenario {
public:
    // The whole file; the simulator stands at the end of the session.
    static std::string Text(const CSessionRecord& record, CVirtualSimulator& sim);
    // The expectations alone.
    static std::string Expectations(CVirtualSimulator& sim);
};
