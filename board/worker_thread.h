#pragma once
// A periodic worker thread: every period's time-out runs OnPeriod; a signal of
// the wake-up event runs OnSignal. Stopping is bounded: the worker is asked to
// end, polled every 50 ms, and made to end after the 101st poll.

#include <atomic>
#include <cstdint>

#include "board/platform_thread.h"

class CWorkerThread {
public:
    CWorkerThread();
    ~CWorkerThread();  // calls Stop

    bool Start(int32_t periodMs);
    bool Stop();

    // The thread's entry routine; param is the CWorkerThread, may be null.
    static unsigned ThreadEntry(void* param);

    // Hooks, in slot order.
    virtual void OnStart();
    virtual void OnSignalDone();
    virtual void Run();
    virtual void OnPeriod();
    virtual void OnSignal();

    static constexpr int32_t STOP_POLL_MS = 50;
    static constexpr int32_t STOP_POLL_LIMIT = 100;

    CPlatformThread* m_hThread;
    CPlatformEvent* m_hEvent;
    uint32_t m_dwThreadId;
    int32_t m_nPeriodMs;
    std::atomic<int32_t> m_bRunning;
    std::atomic<int32_t> m_bStopRequested;
    std::atomic<int32_t> m_bSignalFailed;
    std::atomic<int32_t> m_bPeriodFailed;

    CWorkerThread(const CWorkerThread&) = delete;
    CWorkerThread& operator=(const CWorkerThread&) = delete;

private:
    void ReleaseHandles();
};
