#include "scenario/run/run_watch.h"

#include <chrono>
#include <csignal>

#include "cli/cleanup_signals.h"

namespace {

double steady_seconds()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

}  // namespace

CRunWatch::CRunWatch(double timeoutSeconds, CClock clock)
    : m_clock(clock ? std::move(clock) : CClock(steady_seconds)), m_timeout(timeoutSeconds)
{
    m_start = m_clock();
    m_nextProgress = m_start + PROGRESS_AFTER_S;
}

bool CRunWatch::Stop(int line, uint64_t nowMs)
{
    if (m_why != NONE)
        return true;
    if (noted_fatal_signal() || stop_requested())
        m_why = INTERRUPTED;
    if (m_why == NONE && m_calls++ % CLOCK_EVERY_MS != 0)
        return false;
    const double now = m_clock();
    if (m_why == NONE && m_timeout > 0 && now - m_start >= m_timeout)
        m_why = TIMED_OUT;
    if (m_why == NONE && now >= m_nextProgress) {
        m_nextProgress = now + PROGRESS_EVERY_S;
        if (m_onProgress)
            m_onProgress(line, nowMs);
    }
    return m_why != NONE;
}

const char* CRunWatch::SignalName(int sig)
{
    switch (sig) {
    case SIGINT:
        return "SIGINT";
    case SIGTERM:
        return "SIGTERM";
    case SIGHUP:
        return "SIGHUP";
    case SIGQUIT:
        return "SIGQUIT";
    default:
        return "a signal";
    }
}
