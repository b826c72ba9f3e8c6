#pragma once
// One session at the workbench: a controller started afresh in virtual time,
// the trace it leaves, and the record of what the user did to it. All input
// reaches the simulator here, between runs, at the present virtual time.
//
// "Reset CPU" plays the bounded stop in virtual time. Until the restarted
// firmware runs, input waits, as it would for the window's blocked thread;
// a run ends at the ms the firmware restarts, so the waiting input lands at
// exactly that ms, as a scenario's next step would after "reset-cpu".
//
// A press and its release on the same ms would never reach the firmware,
// which reads the keys between ms. A click given while time stands still
// (paused, or held up by a reset) plays as the runner's "click" does: the
// release waits until the key has been held DEFAULT_HOLD_MS of virtual time,
// and a press on the ms of a release waits RELEASE_GAP_MS; mouse input given
// meanwhile queues behind it.

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "sim/counting_beep.h"
#include "sim/virtual_simulator.h"
#include "workbench/model/session_record.h"
#include "workbench/model/session_trace.h"

class CWorkbenchSession {
public:
    CWorkbenchSession();  // started: the firmware has run its start-up
    ~CWorkbenchSession();

    CVirtualSimulator& Sim() { return m_machine->sim; }
    CSimulatorView& View() { return m_machine->sim.View(); }
    uint64_t Now() const { return m_machine->sim.Now(); }
    int32_t StateNumber() const;

    // Runs the firmware to limitMs, or until `stop` holds (checked every
    // virtual ms); true when `stop` held.
    bool RunUntil(uint64_t limitMs, const std::function<bool()>& stop = {});

    // Called before each input from the user, so that the caller can bring
    // virtual time up to the moment the input was given.
    std::function<void()> m_beforeInput;

    // The mouse on the panel, at the present virtual time.
    void Press(CPoint point);
    void Release();
    // "Reset CPU" from the present virtual time; ignored while one is under way.
    void ResetCpu();
    // Plant faults from the present virtual time (after a reset's stop, as input).
    void SetFault(const CPlantFault& fault);
    void ClearFault(const CPlantFault& fault);
    void ClearAllFaults();
    // The faults in force as a scenario names them; empty for a healthy plant.
    std::string ActiveFaults() const { return m_machine->sim.Faults().Describe(); }
    bool ResettingCpu() const { return m_resetFrom >= 0; }

    // Throws the controller away and starts a fresh one at virtual time 0.
    void Restart();
    // While a scenario is replayed the user's input is turned away.
    void SetInputBlocked(bool blocked) { m_inputBlocked = blocked; }
    bool InputBlocked() const { return m_inputBlocked; }
    // The record begins again now, after the steps of a scenario replayed to here.
    void StartRecordAfter(const std::string& scenario) { m_record.Start(Now(), scenario); }

    CSessionTrace& Trace() { return m_machine->trace; }
    const CSessionRecord& Record() const { return m_record; }
    void RecordSaved() { m_record.MarkSaved(); }
    int RefreshTicks() const { return static_cast<int>(m_machine->sim.RefreshTicks()); }

    CWorkbenchSession(const CWorkbenchSession&) = delete;
    CWorkbenchSession& operator=(const CWorkbenchSession&) = delete;

private:
    struct CMachine {
        CCountingBeep beep;  // made before the simulator, gone after it
        CVirtualSimulator sim;
        CSessionTrace trace{sim.View()};
    };
    // What the user did while a reset was stopping the firmware, done once it runs.
    struct CHeldInput {
        CRecordedAction::Kind kind;
        CPoint point;
        CPlantFault fault;
        bool all;
    };

    void Start();
    void DoPress(CPoint point);
    void DoRelease();
    void DoFault(const CHeldInput& input);
    void Hold(const CHeldInput& input);
    void FinishReset();
    bool RunOnePart(uint64_t limitMs, const std::function<bool()>& stop);
    bool MustWait(const CHeldInput& input, uint64_t& untilMs) const;
    void Apply(const CHeldInput& input);
    void DrainWaiting();
    void BeforeInput();
    int InputAt(CPoint point);

    std::unique_ptr<CMachine> m_machine;
    CSessionRecord m_record;
    bool m_inputBlocked = false;
    int m_resetFrom = -1;  // resets done when the running one began; -1: none runs
    std::vector<CHeldInput> m_held;
    std::deque<CHeldInput> m_waiting;  // mouse input waiting for m_waitUntilMs
    uint64_t m_waitUntilMs = 0;
    uint64_t m_pressedAtMs = UINT64_MAX;   // the last press that captured a widget
    uint64_t m_releasedAtMs = UINT64_MAX;  // the last release that reached one
};
