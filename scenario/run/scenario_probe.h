#pragma once
// Looks at the simulated appliance for a scenario's conditions: the
// firmware's state number, a signal's level on its port bit, a readout's
// text as the panel draws it, a lamp as the panel shows it, a motor's
// position, the buzzer's sounds since the last expectation of them, and the
// firmware's watched variables and timers (read only while it stands still:
// between runs of the lockstep or inside their conditions).

#include <cstdint>
#include <string>

#include "scenario/language/scenario_step.h"

class CVirtualSimulator;

class CScenarioProbe {
public:
    explicit CScenarioProbe(CVirtualSimulator& sim);

    // Cheap enough to ask every virtual ms.
    bool Holds(const CScenarioCondition& condition);
    // What the condition looked at, as a scenario would write it: "6 (컷팅)", "on", "\"run_sec: 12\"".
    std::string Seen(const CScenarioCondition& condition);

    // The buzzer's sounds are counted from here on.
    void RestartBeepCount();
    int BeepsSinceRestart() const;

private:
    int64_t Value(const CScenarioCondition& condition) const;
    std::string ReadoutText(int32_t readout) const;

    CVirtualSimulator& m_sim;
    int m_beepBase = 0;
};
