#pragma once
// Plays a parsed scenario on a simulator in virtual time, in slices: each
// Advance(budgetMs) runs the steps until that many virtual ms have passed or
// the scenario has ended, and the next call goes on from there. A slice may
// end inside a step (a wait, a click, a run-until, an expect-for, a
// reset-cpu); the next one continues it where it stood. A scenario played in
// slices of any size therefore gives the same verdicts at the same virtual
// times as one played in one go, which is what CVerdictPrinter does.
//
// Every verdict is a CScenarioResult: each expect, run-until and expect-for,
// and a reset-cpu that failed. A snapshot that cannot be written is a result
// too, marked as an error: no verdict on the firmware, but the run is not a
// check to trust. Results() keeps them in order; m_onResult, when set, is
// told of each as it is reached.
//
//     CScenarioExecutor executor(sim, parser.Steps());
//     executor.m_onResult = [](const CScenarioResult& r) { ... };
//     while (executor.Advance(40)) paint(sim);   // 40 virtual ms per frame
//
// The executor starts the simulator if it has not started. Steps run in the
// simulator's present virtual time: a scenario's times are relative, its
// verdicts carry the absolute virtual time. Faults a scenario sets stay set
// when it ends. Buzzer sounds ("beeps") are counted by CCountingBeep, so one
// must be installed for beeps conditions to see any. Call everything on the
// thread that runs the simulator, between its runs; m_onResult runs there too.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "scenario/language/scenario_step.h"
#include "scenario/run/scenario_probe.h"

class CVirtualSimulator;

// One verdict of a scenario.
struct CScenarioResult {
    int line = 0;         // the step's line in the scenario file
    uint64_t timeMs = 0;  // virtual time of the verdict (expect-for: the first ms it failed)
    bool held = false;
    bool error = false;  // not a verdict: the step could not be carried out (seen says why)
    std::string what;    // the step as a scenario writes it: "run-until state 3 (파워 온 대기) within 1000"
    std::string seen;    // what was seen: "3 (파워 온 대기) after 2 ms"
    double seconds = 0;  // wall time since the verdict before it (or the file's start), for reports
};

class CScenarioExecutor {
public:
    CScenarioExecutor(CVirtualSimulator& sim, std::vector<CScenarioStep> steps);

    // Runs on for at most budgetMs virtual ms; true while steps remain.
    bool Advance(uint64_t budgetMs);
    void RunToEnd();
    bool Finished() const { return m_next >= m_steps.size(); }
    // The last Advance ended because m_stop held.
    bool Stopped() const { return m_stopped; }
    // The line of the step under way (or next), 0 when finished.
    int CurrentLine() const { return Finished() ? 0 : m_steps[m_next].line; }

    const std::vector<CScenarioResult>& Results() const { return m_results; }
    int Passed() const { return m_passed; }
    int Failed() const { return m_failed; }
    int Errors() const { return m_errors; }

    std::function<void(const CScenarioResult&)> m_onResult;
    // Asked at every virtual ms: when it holds, Advance returns at once, the
    // step under way unfinished (a run cut off by a signal or a time-out).
    std::function<bool()> m_stop;

    CScenarioExecutor(const CScenarioExecutor&) = delete;
    CScenarioExecutor& operator=(const CScenarioExecutor&) = delete;

private:
    bool Continue(const CScenarioStep& step);  // true when the step has ended
    bool RunTo(uint64_t limitMs, const std::function<bool()>& done = {});
    bool Wait(uint64_t endMs);
    bool Click(const CScenarioStep& step);
    bool RunUntil(const CScenarioStep& step);
    bool ExpectFor(const CScenarioStep& step);
    bool ResetCpu(const CScenarioStep& step);
    void Instant(const CScenarioStep& step);
    void Report(const CScenarioStep& step, bool held, const std::string& seen);
    void ReportError(const CScenarioStep& step, const std::string& reason);
    bool Holds(const CScenarioCondition& condition) { return m_probe.Holds(condition); }

    CVirtualSimulator& m_sim;
    std::vector<CScenarioStep> m_steps;
    CScenarioProbe m_probe;
    std::vector<CScenarioResult> m_results;
    int m_passed = 0;
    int m_failed = 0;
    int m_errors = 0;

    size_t m_next = 0;  // the step under way or next
    bool m_stopped = false;
    uint64_t m_budgetEnd = 0;  // the end of the present slice
    // The step under way.
    bool m_begun = false;
    int m_phase = 0;
    uint64_t m_begin = 0;  // virtual time the step began
    uint64_t m_phaseEnd = 0;
    int m_marker = 0;  // reset-cpu: restarts done before it
    // The last click, for the release gap before the next one at its place.
    bool m_clicked = false;
    CPoint m_clickPoint{0, 0};
    uint64_t m_releasedAt = 0;
};
