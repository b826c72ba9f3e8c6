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
#include <vector>

#include "firmware/fw_time.h"

class CVirtualTime {
public:
    // Calendar time of virtual ms 0.
    static constexpr uint32_t START_SECOND = 1'000'000;
    static constexpr uint64_t REFRESH_MS = 100;

    CVirtualTime();   // installs the virtual time seam (calendar time START_SECOND, ms 0)
    ~CVirtualTime();  // puts the default seam back

    uint64_t Now() const { return m_now; }                                     // virtual ms since construction
    void At(uint64_t timeMs, std::function<void()> action);                    // once, at that virtual time
    void When(std::function<bool()> condition, std::function<void()> action);  // once, first ms it holds

    std::function<void()> m_onMs;         // after every virtual ms (a plant model hooks here)
    std::function<void()> m_onRefresh;    // every 100 virtual ms (the view's refresh step)
    std::function<void()> m_onPeriodEnd;  // after every period's board exchange
    // Where a trace samples, with the virtual ms to stamp: before each ms
    // begins, after its hooks, and in a period before the board's exchange
    // (which consumes a beep request).
    std::function<void(uint64_t)> m_onSample;

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
    void Sample()
    {
        if (m_onSample)
            m_onSample(m_now);
    }
    template <typename Body>
    bool Run(uint64_t limitMs, std::function<bool()> done, Body body);

    uint64_t m_now = 0;
    std::vector<CTimedAction> m_actions;
    std::vector<CCondAction> m_conditions;
    bool m_running = false;
    uint64_t m_limitMs = 0;
    std::function<bool()> m_done;
    bool m_doneHeld = false;

    time_seam m_seam;
};
