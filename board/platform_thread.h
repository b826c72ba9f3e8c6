#pragma once
// The small thread layer of our own: an auto-reset event, a thread created
// suspended, the sleep, and forced termination.
//
// No thread can be killed safely from outside, so forced termination is a
// request that the thread acts on itself at its next wait (PlatformSleep or an
// event wait), within a millisecond: the wait throws CThreadTerminated, which
// unwinds to the thread's entry, where it is caught.

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

// Thrown out of a wait of a thread whose termination was requested. Not a
// std::exception, so that no handler for ordinary failures mistakes it for one;
// a catch-all on the thread must rethrow it.
struct CThreadTerminated {};

// Auto-reset event: created not signalled; a successful wait consumes the signal.
class CPlatformEvent {
public:
    enum WaitResult { WAIT_SIGNALLED, WAIT_TIMEOUT };

    void Signal();
    // Waits at most timeoutMs milliseconds; a negative time-out waits until signalled.
    WaitResult Wait(int32_t timeoutMs);

private:
    std::mutex m_mutex;
    std::condition_variable m_cv;
    bool m_signalled = false;
};

using PlatformThreadEntry = unsigned (*)(void* param);

// A thread that executes nothing until Resume.
class CPlatformThread {
public:
    // Creates the thread suspended; null when the system cannot make another
    // thread (and then *id is left as it was).
    static CPlatformThread* CreateSuspended(PlatformThreadEntry entry, void* param, uint32_t* id);
    ~CPlatformThread();  // joins the thread

    void Resume();
    // Asks the thread to end at its next wait (at once if it was never resumed).
    void RequestTermination();
    // Waits until the thread has ended.
    void Join();

    CPlatformThread(const CPlatformThread&) = delete;
    CPlatformThread& operator=(const CPlatformThread&) = delete;

private:
    CPlatformThread() = default;
    void Main(PlatformThreadEntry entry, void* param);

    std::mutex m_mutex;
    std::condition_variable m_cv;
    bool m_resumed = false;
    std::atomic<bool> m_terminate{false};
    std::thread m_thread;
};

// Makes the next CreateSuspended fail as when threads or memory run short;
// for tests of what the callers do then.
void PlatformFailNextThreadCreation();

// Sleeps for ms milliseconds. On a thread whose termination was requested it
// throws CThreadTerminated instead, within a millisecond of the request.
void PlatformSleep(uint32_t ms);

// Throws CThreadTerminated when the calling thread has been asked to end.
void PlatformCheckTermination();
