#pragma once
// The firmware in virtual time, on the calling thread. The harness installs a
// time seam whose sleep advances a virtual clock by exactly its milliseconds,
// one at a time; at each virtual ms it runs the actions that are due, the
// per-ms hook (a plant model), every 100 ms the refresh hook (the view's
// refresh step), samples the trace and checks the end of the run. A run ends
// by an exception thrown from the sleep, which RunUntil catches; any other
// exception a hook throws passes through RunUntil to its caller.
//
// Only one harness may exist at a time.
//
// A run cut off at its limit abandons the state handler where it stood: a
// second RunUntil re-enters the dispatch, and the state that was cut off
// starts again from its entry actions.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "board/port_bytes.h"
#include "firmware/fw_time.h"

class CVirtualTime {
public:
    // Calendar time of virtual ms 0.
    static constexpr uint32_t START_SECOND = 1'000'000;
    static constexpr uint64_t REFRESH_MS = 100;

    CVirtualTime();   // installs the virtual time seam (calendar time START_SECOND, ms 0)
    ~CVirtualTime();  // puts the default seam back

    uint64_t Now() const { return m_now; }                            // virtual ms since construction
    void At(uint64_t timeMs, std::function<void()> action);            // once, at that virtual time
    void When(std::function<bool()> condition, std::function<void()> action);  // once, first ms it holds

    std::function<void()> m_onMs;         // after every virtual ms (a plant model hooks here)
    std::function<void()> m_onRefresh;    // every 100 virtual ms (the view's refresh step)
    std::function<void()> m_onPeriodEnd;  // after every period's board exchange

    // As the firmware thread's start hook: fw_startup, then board_start_exchange.
    void Startup();
    // Periods as the firmware thread runs them: a 1 ms wait, clock_update,
    // fw_dispatch, board_periodic_exchange; until limitMs (absolute virtual
    // time) or until `done` holds (checked every virtual ms). Returns true
    // when `done` held.
    bool RunUntil(uint64_t limitMs, std::function<bool()> done = {});
    // The same with `pass` run over and over instead of the periods, for
    // routines tested on their own; a pass that does not sleep gets a 1 ms sleep.
    bool RunLoop(uint64_t limitMs, std::function<void()> pass, std::function<bool()> done = {});

    // The trace: every change of every port bit and of state_number,
    // buzzer_request and run_sec, with the virtual time it was seen at.
    struct CTraceEntry {
        uint64_t timeMs;
        std::string name;
        int32_t value;
    };
    const std::vector<CTraceEntry>& Trace() const { return m_trace; }
    // Forgets the trace and takes the present values as the starting point.
    void ClearTrace();
    // Kept by default; a program with a trace of its own turns it off, so a
    // long run does not grow it without end.
    void SetTracing(bool on)
    {
        m_tracing = on;
        ClearTrace();
    }

    // Trace queries by name: a signal name ("RED_LED"), "portN.bitM" for an
    // unwired bit, "state_number", "buzzer_request" or "run_sec".
    std::vector<CTraceEntry> Changes(const std::string& name, uint64_t fromMs = 0,
                                     uint64_t toMs = UINT64_MAX) const;
    // Times at which the value became `value` (a rise to 1 by default).
    std::vector<uint64_t> TimesOf(const std::string& name, int32_t value = 1, uint64_t fromMs = 0,
                                  uint64_t toMs = UINT64_MAX) const;
    // The first such time at or after fromMs; UINT64_MAX when none.
    uint64_t FirstTime(const std::string& name, int32_t value = 1, uint64_t fromMs = 0) const;
    // The value the trace shows at that virtual time.
    int32_t ValueAt(const std::string& name, uint64_t timeMs) const;
    // How many times the value became non-zero in the interval.
    size_t CountNonZero(const std::string& name, uint64_t fromMs = 0, uint64_t toMs = UINT64_MAX) const;

    // The trace name of a signal.
    static std::string NameOf(port_signal signal);

    CVirtualTime(const CVirtualTime&) = delete;
    CVirtualTime& operator=(const CVirtualTime&) = delete;

private:
    struct CTimedAction {
        uint64_t timeMs;
        std::function<void()> action;
    };
    struct CCondAction {
        std::function<bool()> condition;
        std::function<void()> action;
    };
    struct CRunEnd {};  // thrown out of the sleep to end a run

    static cal_time SeamNow();
    static void SeamSleep(uint32_t ms);
    void Sleep(uint32_t ms);
    void Tick();
    void RunDueActions();
    void Sample();
    template <typename Body>
    bool Run(uint64_t limitMs, std::function<bool()> done, Body body);

    uint64_t m_now = 0;
    std::vector<CTimedAction> m_actions;
    std::vector<CCondAction> m_conditions;
    bool m_running = false;
    uint64_t m_limitMs = 0;
    std::function<bool()> m_done;
    bool m_doneHeld = false;

    bool m_tracing = true;
    std::vector<CTraceEntry> m_trace;
    uint8_t m_basePorts[6] = {};
    uint16_t m_baseStateNumber = 0;
    uint8_t m_baseBuzzer = 0;
    uint16_t m_baseRunSec = 0;
    uint8_t m_lastPorts[6] = {};
    uint16_t m_lastStateNumber = 0;
    uint8_t m_lastBuzzer = 0;
    uint16_t m_lastRunSec = 0;
    time_seam m_seam;
};
