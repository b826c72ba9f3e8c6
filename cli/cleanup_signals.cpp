#include "cli/cleanup_signals.h"

#include <atomic>
#include <csignal>
#include <cstdlib>

#include "cli/output_file.h"

namespace {

// Lock-free atomics: safe in a signal handler, and read by the firmware's
// thread, which stops a run at its next virtual ms.
static_assert(std::atomic<int>::is_always_lock_free);
std::atomic<int> s_deferring{0};
std::atomic<int> s_noted{0};
std::atomic<int> s_repeatsIgnored{0};
std::atomic<int> s_stopRequested{0};

void remove_and_reraise(int sig)
{
    COutputFile::RemoveTemporaries();
    signal(sig, SIG_DFL);
    raise(sig);
}

void on_fatal_signal(int sig)
{
    // A worker is sent the signal twice when it goes to the whole group: once
    // by the terminal or the kill, once more by its parent passing it on.
    if (s_repeatsIgnored && s_noted == sig)
        return;
    // A closed pipe leaves no reader for what the runner would still write.
    if (!s_deferring || s_noted || sig == SIGPIPE) {
        remove_and_reraise(sig);
        return;
    }
    s_noted.store(sig);
}

void on_stop_request(int) { s_stopRequested.store(1); }

}  // namespace

void install_cleanup_handlers()
{
    // A file over the size limit (ulimit -f) then fails to write with EFBIG,
    // which is reported and cleaned up as any failed write, instead of
    // ending the program with its temporary files left behind.
    signal(SIGXFSZ, SIG_IGN);
    for (int sig : {SIGINT, SIGTERM, SIGHUP, SIGPIPE, SIGQUIT}) {
        struct sigaction old {};
        if (sigaction(sig, nullptr, &old) != 0 || old.sa_handler == SIG_IGN)
            continue;
        struct sigaction action {};
        action.sa_handler = &on_fatal_signal;
        action.sa_flags = SA_RESTART;  // a noted signal must not cut a write short
        sigemptyset(&action.sa_mask);
        sigaction(sig, &action, nullptr);
    }
}

void defer_fatal_signals() { s_deferring.store(1); }

void ignore_repeated_signals() { s_repeatsIgnored.store(1); }

int noted_fatal_signal() { return s_noted.load(); }

void end_by_signal(int sig)
{
    remove_and_reraise(sig);
    std::_Exit(128 + sig);  // a signal blocked or caught elsewhere still ends the program
}

void accept_stop_requests()
{
    struct sigaction action {};
    action.sa_handler = &on_stop_request;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    sigaction(SIGUSR1, &action, nullptr);
}

bool stop_requested() { return s_stopRequested.load() != 0; }
