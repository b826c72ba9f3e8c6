#pragma once
// Watches one file's run from outside the simulation, at every virtual ms:
// whether a signal was noted or the file has run longer than its wall-clock
// time-out (the run then stops where it stands, and the report is still
// written), and, once a file has run 2 s of wall time, a progress report
// every quarter of a second.

#include <cstdint>
#include <functional>

class CRunWatch {
public:
    enum Reason { NONE, INTERRUPTED, TIMED_OUT };
    // Seconds of a monotonic clock.
    using CClock = std::function<double()>;

    static constexpr double PROGRESS_AFTER_S = 2.0;
    static constexpr double PROGRESS_EVERY_S = 0.25;
    // The clock is read every this many virtual ms: one takes well under a wall ms.
    static constexpr uint32_t CLOCK_EVERY_MS = 32;

    // No time-out when `timeoutSeconds` is 0; the steady clock unless another is given.
    explicit CRunWatch(double timeoutSeconds = 0, CClock clock = {});

    // True when the run must stop now; `line` and `nowMs` say where it stands.
    bool Stop(int line, uint64_t nowMs);
    Reason Why() const { return m_why; }
    // "SIGTERM".
    static const char* SignalName(int sig);

    // Told where the run stands, when a progress report is due.
    std::function<void(int line, uint64_t nowMs)> m_onProgress;

private:
    CClock m_clock;
    double m_timeout;
    double m_start;
    double m_nextProgress;
    Reason m_why = NONE;
    uint32_t m_calls = 0;
};
