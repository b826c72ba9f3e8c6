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
// would. A second signal while one is noted ends it at once.
void install_cleanup_handlers();

// Notes those four signals instead of ending at once, from now on.
void defer_fatal_signals();
// The signal noted, or 0. Async-signal-safe.
int noted_fatal_signal();
// Removes the temporary files and ends the program by `sig`.
[[noreturn]] void end_by_signal(int sig);
