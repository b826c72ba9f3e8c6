#include "board/worker_thread.h"

#include <new>

CWorkerThread::CWorkerThread()
    : m_hThread(nullptr),
      m_hEvent(nullptr),
      m_dwThreadId(0),
      m_nPeriodMs(0),
      m_bRunning(0),
      m_bStopRequested(0),
      m_bSignalFailed(0),
      m_bPeriodFailed(0)
{
}

CWorkerThread::~CWorkerThread() { Stop(); }

void CWorkerThread::OnStart() {}
void CWorkerThread::OnSignalDone() {}
void CWorkerThread::OnPeriod() {}
void CWorkerThread::OnSignal() {}

bool CWorkerThread::Start(int32_t periodMs)
{
    if (m_bRunning.load())
        return false;
    m_bStopRequested.store(0);
    m_nPeriodMs = periodMs;
    m_hEvent = new (std::nothrow) CPlatformEvent();
    m_hThread = m_hEvent ? CPlatformThread::CreateSuspended(&CWorkerThread::ThreadEntry, this, &m_dwThreadId) : nullptr;
    if (!m_hEvent || !m_hThread) {
        // Out of threads or memory: release what was made; nothing runs.
        ReleaseHandles();
        return false;
    }
    OnStart();
    m_bRunning.store(1);
    m_hThread->Resume();
    return true;
}

unsigned CWorkerThread::ThreadEntry(void* param)
{
    if (param)
        static_cast<CWorkerThread*>(param)->Run();
    return 0;
}

void CWorkerThread::Run()
{
    for (;;) {
        if (m_nPeriodMs != 0) {
            // The period is the wait's time-out, counted from the end of the last hook.
            if (m_hEvent->Wait(m_nPeriodMs) == CPlatformEvent::WAIT_TIMEOUT) {
                if (m_bStopRequested.load())
                    break;
                // The flag tells how the last period ended; it is never cleared
                // while a failing period runs, so a reader never sees a gap.
                try {
                    OnPeriod();
                    m_bPeriodFailed.store(0);
                } catch (const CThreadTerminated&) {
                    throw;
                } catch (...) {
                    m_bPeriodFailed.store(1);
                }
                continue;
            }
        } else {
            m_hEvent->Wait(-1);
        }
        if (m_bStopRequested.load())
            break;
        m_bSignalFailed.store(0);
        try {
            OnSignal();
        } catch (const CThreadTerminated&) {
            throw;
        } catch (...) {
            m_bSignalFailed.store(1);
        }
        OnSignalDone();
    }
    m_bRunning.store(0);
}

bool CWorkerThread::Stop()
{
    if (!m_bRunning.load())
        return true;
    m_bStopRequested.store(1);
    m_hEvent->Signal();
    int32_t polls = 0;
    while (m_bRunning.load()) {
        PlatformSleep(STOP_POLL_MS);
        if (++polls > STOP_POLL_LIMIT) {
            // The hook has not returned within 101 polls: end the worker by force.
            m_bRunning.store(0);
            m_hThread->RequestTermination();
            break;
        }
    }
    ReleaseHandles();
    return true;
}

void CWorkerThread::ReleaseHandles()
{
    // The worker has really ended before anything it used is released: an old
    // firmware never runs beside a new one.
    if (m_hThread)
        m_hThread->Join();
    delete m_hThread;
    m_hThread = nullptr;
    delete m_hEvent;
    m_hEvent = nullptr;
}
