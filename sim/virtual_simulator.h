#pragma once
// The assembled simulator in virtual time: the real view core, board and
// widgets, with the firmware's start-up and periods run by the virtual-time
// harness and the view's 100 ms refresh step every 100 virtual ms. User
// actions are mouse presses and releases at panel coordinates, scheduled at
// virtual times, as the window would pass them on.
//
// The firmware runs on a thread of its own in strict lockstep with the
// caller: RunUntil lets it run and waits until, inside one of its sleeps, the
// limit or condition is reached; there it stays, its state handler intact,
// until the next RunUntil. Only one of the two threads ever runs at a time,
// so a run is as deterministic as on one thread, and successive RunUntil
// calls continue one run instead of restarting the state that was cut off.
//
// Between two RunUntil calls (or inside a condition, a scheduled action or
// m_onMs) the machine stands still and may be read: the signals with
// sig_read and the board's WIRED_SIGNALS (board/wired_signals.h), the
// widgets through View(), the firmware's variables and timers by name through
// its table of watched variables (firmware/fw_watch.h); Paint draws the panel.

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "app/core/simulator_view.h"
#include "sim/plant_faults.h"
#include "sim/virtual_time.h"

class CVirtualSimulator {
public:
    // Where the user clicks the panel's inputs.
    static constexpr CPoint POWER_KEY{52, 51};
    static constexpr CPoint WASH_KEY{102, 51};
    static constexpr CPoint COVER{246, 155};
    static constexpr CPoint DRAWER{246, 297};

    // The bounded stop of "Reset CPU": polls every 50 ms, forced after 5050 ms.
    static constexpr uint64_t STOP_POLL_MS = 50;
    static constexpr uint64_t STOP_LIMIT_MS = 5050;

    CVirtualSimulator();  // a fresh controller, the panel laid out and the board attached
    ~CVirtualSimulator();

    CSimulatorView& View() { return *m_view; }
    CVirtualTime& Time() { return m_time; }
    uint64_t Now() const { return m_time.Now(); }

    // Starts the firmware as StartFirmware does: start-up, then the start exchange.
    void Startup();
    // Lets the firmware run until limitMs (absolute virtual time) or until
    // `done` holds, checked every virtual ms; true when `done` held.
    bool RunUntil(uint64_t limitMs, std::function<bool()> done = {});
    bool RunFor(uint64_t ms, std::function<bool()> done = {}) { return RunUntil(Now() + ms, std::move(done)); }

    // Called after every virtual ms, on the firmware's side of the lockstep.
    std::function<void()> m_onMs;

    // Mouse actions now (from inside a scheduled action) or at a virtual time.
    void Press(CPoint point);
    void Release();
    void PressAt(uint64_t timeMs, CPoint point);
    void ReleaseAt(uint64_t timeMs);
    void ClickAt(uint64_t timeMs, CPoint point, uint64_t holdMs = 100);
    // A quick double click: the second press is reported as a double click,
    // which reaches no widget, and its release finds nothing captured.
    void DoubleClickAt(uint64_t timeMs, CPoint point);

    // "Reset CPU", played as the real thread would: the old firmware runs on
    // without refresh ticks (the window's thread is blocked in the stop) until
    // its state handler returns, seen at the next 50 ms poll, or until 5050 ms
    // have passed; then the start-up and start exchange run again. Mouse
    // actions that fall into the stop wait for its end, as they would.
    void ResetCpuAt(uint64_t timeMs);
    int ResetsDone() const { return m_resetsDone; }
    bool Stopping() const { return m_stopping; }

    // The plant's faults: set and clear them between runs (or from inside a
    // scheduled action or m_onMs); Faults().Describe() names those in force.
    CPlantFaults& Faults() { return *m_faults; }
    const CPlantFaults& Faults() const { return *m_faults; }

    // Paints the whole panel as the view's paint does.
    void Paint(CDrawSurface& surface);

    uint64_t RefreshTicks() const { return m_refreshTicks; }

    CVirtualSimulator(const CVirtualSimulator&) = delete;
    CVirtualSimulator& operator=(const CVirtualSimulator&) = delete;

private:
    void FirmwareMain();
    void EveryMs();
    void PauseIfDue();
    void Refresh();
    void OnPeriodEnd();
    void FinishReset();
    void UserAction(std::function<void()> action);

    CVirtualTime m_time;
    std::unique_ptr<CSimulatorView> m_view;
    std::unique_ptr<CPlantFaults> m_faults;
    CQuietWindow m_window;

    // The lockstep between the caller and the firmware thread.
    std::thread m_firmware;
    std::mutex m_mutex;
    std::condition_variable m_cv;
    bool m_firmwareTurn = false;
    bool m_quit = false;
    uint64_t m_limitMs = 0;
    std::function<bool()> m_done;
    bool m_doneHeld = false;

    uint64_t m_refreshTicks = 0;
    int m_resetsDone = 0;
    bool m_stopping = false;
    bool m_workerGone = false;  // the old worker has left its loop; the stop waits for its poll
    uint64_t m_stopRequestedAt = 0;
    std::vector<std::function<void()>> m_deferred;  // user actions held up by a stop
};
