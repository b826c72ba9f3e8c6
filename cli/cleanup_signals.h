#pragma once
// The signals that end the runner (SIGINT, SIGTERM, SIGHUP, SIGPIPE, SIGQUIT)
// remove the temporary files of its outputs first, then end it as the signal
// would have. A signal the runner was started with ignored (nohup ignores
// SIGHUP) stays ignored. SIGXFSZ is ignored: a write over the file size
// limit fails with its reason instead.
//
// While scenario files run, SIGINT, SIGTERM, SIGHUP and SIGQUIT are only
// noted: the run stops at its next virtual ms, the verdicts so far and the
// report are written, and end_by_signal ends the program as the signal
// would. A second signal while one is noted ends it at once (a second
// Ctrl-C at the terminal), unless repeats are ignored.
void install_cleanup_handlers();

// Notes those four signals instead of ending at once, from now on.
void defer_fatal_signals();
// In a worker process: a signal of the kind already noted is ignored, so
// that one sent to the whole group and passed on by the parent stops the
// run once; a signal of another kind still ends the worker at once.
void ignore_repeated_signals();
// The signal noted, or 0. Async-signal-safe.
int noted_fatal_signal();
// Removes the temporary files and ends the program by `sig`.
[[noreturn]] void end_by_signal(int sig);

// A request from the parent process to stop the file under way (SIGUSR1):
// the run stops at its next virtual ms as for a signal, but nothing ends.
void accept_stop_requests();
// Whether such a request came. Async-signal-safe.
bool stop_requested();
