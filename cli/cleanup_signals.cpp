#include "cli/cleanup_signals.h"

#include <csignal>

#include "cli/output_file.h"

namespace {

void on_fatal_signal(int sig)
{
    COutputFile::RemoveTemporaries();
    signal(sig, SIG_DFL);
    raise(sig);
}

}  // namespace

void install_cleanup_handlers()
{
    for (int sig : {SIGINT, SIGTERM, SIGHUP, SIGPIPE, SIGQUIT}) {
        struct sigaction old {};
        if (sigaction(sig, nullptr, &old) != 0 || old.sa_handler == SIG_IGN)
            continue;
        struct sigaction action {};
        action.sa_handler = &on_fatal_signal;
        sigemptyset(&action.sa_mask);
        sigaction(sig, &action, nullptr);
    }
}
