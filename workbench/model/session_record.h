#pragma once
// What the user did since the session began: presses and releases at panel
// points, "Reset CPU" and plant faults, each at its virtual time. Written
// out as the steps of a scenario: waits between the actions, so the runner
// plays them at the same virtual times.

#include <cstdint>
#include <string>
#include <vector>

#include "panel/geometry.h"

struct CRecordedAction {
    enum Kind { PRESS, RELEASE, RESET_CPU, FAULT_SET, FAULT_CLEAR };

    Kind kind = PRESS;
    uint64_t timeMs = 0;  // when it happened
    uint64_t endMs = 0;   // RESET_CPU: when the restarted firmware ran; otherwise timeMs
    CPoint point{0, 0};   // PRESS: where the mouse went down
    int input = -1;       // PRESS: row of SCENARIO_INPUTS, or -1 for the point itself
    std::string fault;    // FAULT_SET, FAULT_CLEAR: the fault as a scenario names it
};

class CSessionRecord {
public:
    // Forgets everything; the record counts from nowMs, after the steps of
    // `prelude` (a scenario replayed up to nowMs), if any.
    void Start(uint64_t nowMs, std::string prelude = {});
    void Add(const CRecordedAction& action);
    // The latest "Reset CPU" is over: the firmware runs again at atMs.
    void ResetDone(uint64_t atMs);

    const std::vector<CRecordedAction>& Actions() const { return m_actions; }
    // Something was done since the start or since the record was last saved.
    bool Unsaved() const { return m_actions.size() != m_savedCount; }
    void MarkSaved() { m_savedCount = m_actions.size(); }
    uint64_t StartMs() const { return m_startMs; }
    // The steps a scenario needs to do the same, ending with a wait up to endMs.
    std::string Steps(uint64_t endMs) const;

private:
    uint64_t m_startMs = 0;
    std::string m_prelude;
    std::vector<CRecordedAction> m_actions;
    size_t m_savedCount = 0;
};

// "mm:ss.mmm" of a virtual time (minutes go on past 59).
std::string clock_text(uint64_t ms);
