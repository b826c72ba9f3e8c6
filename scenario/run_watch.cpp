#include "scenario/run_watch.h"

#include <csignal>

#include "scenario/cleanup_signals.h"

bool CRunWatch::Stop(int, uint64_t)
{
    if (noted_fatal_signal())
        m_why = INTERRUPTED;
    return m_why != NONE;
}

const char* CRunWatch::SignalName(int sig)
{
    switch (sig) {
    case SIGINT: return "SIGINT";
    case SIGTERM: return "SIGTERM";
    case SIGHUP: return "SIGHUP";
    case SIGQUIT: return "SIGQUIT";
    default: return "a signal";
    }
}
