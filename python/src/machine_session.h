#pragma once
// One simulated machine driven step by step from outside, as the runner
// drives it from a scenario: each call is one parsed step of the scenario
// language, played with the runner's own meaning (the gap before a second
// click at the same place, expect-for running on to its end after a
// failure, "Reset CPU" waiting for the restart). Around the machine, as the
// runner has them: the buzzer's count, the machine's invariants at every
// virtual ms, the behaviour coverage and, while asked for, a VCD trace of
// the one recorder.
//
// Time runs in slices of SLICE_MS virtual ms; between two slices the caller
// is asked, on its own thread, whether to stop (m_interrupted), and a stop
// leaves the machine standing at that ms.

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "scenario/language/scenario_step.h"
#include "scenario/reports/scenario_coverage.h"
#include "scenario/run/scenario_probe.h"
#include "sim/counting_beep.h"
#include "sim/machine_invariants.h"
#include "sim/virtual_simulator.h"

class CTraceRecorder;
class CVcdSink;

// What a step that checks came to: held or not, and what was seen.
struct CStepVerdict {
    bool held = true;
    std::string what;  // the step as a scenario writes it
    std::string seen;
    uint64_t elapsedMs = 0;  // run-until: how long it took
};

// Thrown out of a run when m_interrupted asked to stop.
struct CSessionInterrupted {};

class CMachineSession {
public:
    static constexpr uint64_t SLICE_MS = 1000;

    // Starts a fresh controller; `traceVariables` are traced beside the
    // panel's channels (std::invalid_argument names an unknown one).
    explicit CMachineSession(std::vector<std::string> traceVariables);
    ~CMachineSession();

    // Asked between slices of virtual time; true stops the run (CSessionInterrupted).
    std::function<bool()> m_interrupted;

    // Plays one step; the verdict of expect, run-until and expect-for.
    CStepVerdict Play(const CScenarioStep& step);
    void Wait(uint64_t ms);
    // A condition now, without the bookkeeping of an expect (the beeps' count).
    bool Holds(const CScenarioCondition& condition) { return m_probe.Holds(condition); }

    CVirtualSimulator& Sim() { return *m_sim; }
    CScenarioCoverage& Coverage() { return m_coverage; }
    int Beeps() const { return m_beep.Count(); }
    // The first machine invariant broken since the start, or empty.
    const std::string& Broken() const { return m_broken; }
    uint64_t BrokenAt() const { return m_brokenAt; }

    // A VCD trace from now until EndTrace; false with the system's reason.
    bool BeginTrace(const std::string& path, std::string& error);
    bool EndTrace(std::string& error);
    bool Tracing() const { return m_vcd != nullptr; }

    CMachineSession(const CMachineSession&) = delete;
    CMachineSession& operator=(const CMachineSession&) = delete;

private:
    void AfterMs();
    bool RunTo(uint64_t limitMs, const std::function<bool()>& done = {});
    void Click(const CScenarioStep& step);
    CStepVerdict RunUntil(const CScenarioStep& step);
    CStepVerdict ExpectFor(const CScenarioStep& step);
    CStepVerdict ResetCpu(const CScenarioStep& step);
    CStepVerdict Instant(const CScenarioStep& step);

    std::vector<std::string> m_traceVariables;
    CCountingBeep m_beep;  // installed before the machine starts, removed after it is gone
    std::unique_ptr<CVirtualSimulator> m_sim;
    CScenarioProbe m_probe;
    CMachineInvariants m_invariants;
    CScenarioCoverage m_coverage;
    std::string m_broken;
    uint64_t m_brokenAt = 0;
    std::unique_ptr<CTraceRecorder> m_recorder;
    std::unique_ptr<CVcdSink> m_vcd;
    // The last click, for the release gap before the next one at its place.
    bool m_clicked = false;
    CPoint m_clickPoint{0, 0};
    uint64_t m_releasedAt = 0;
};
