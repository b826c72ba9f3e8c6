#pragma once
// The signals that end the runner (SIGINT, SIGTERM, SIGHUP, SIGPIPE, SIGQUIT)
// remove the temporary files of its outputs first, then end it as the signal
// would have. A signal the runner was started with ignored (nohup ignores
// SIGHUP) stays ignored.
void install_cleanup_handlers();
