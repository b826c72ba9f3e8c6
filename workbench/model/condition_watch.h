#pragma once
// A condition of the scenario language watched on the session's controller:
// read by the runner's own parser and judged by the runner's own probe, so
// the workbench stops on the very ms a scenario's run-until would. The
// buzzer's sounds ("beeps N") are counted from the moment the watch begins.

#include <memory>
#include <string>

#include "scenario/language/scenario_step.h"

class CScenarioProbe;
class CVirtualSimulator;
class CWorkbenchSession;

class CConditionWatch {
public:
    // Reads a condition as written after "run-until"; false with the parser's reason.
    static bool Parse(const std::string& text, CScenarioCondition& condition, std::string& reason);

    CConditionWatch(CWorkbenchSession& session, CScenarioCondition condition);
    ~CConditionWatch();

    // Only while the firmware stands still: between runs or inside their stop conditions.
    bool Holds();
    // What the condition looks at now, as the runner reports it: "5 (워싱)", "on".
    std::string Seen();
    const CScenarioCondition& Condition() const { return m_condition; }

    CConditionWatch(const CConditionWatch&) = delete;
    CConditionWatch& operator=(const CConditionWatch&) = delete;

private:
    CScenarioProbe& Probe();

    CWorkbenchSession& m_session;
    CScenarioCondition m_condition;
    CVirtualSimulator* m_sim = nullptr;  // the simulator m_probe looks at
    std::unique_ptr<CScenarioProbe> m_probe;
};
