#pragma once
// A mutant whose code runs before main (a table of steps set up by a switched
// expression) cannot be chosen in a running process: the table was set up
// with the firmware as written. Such a mutant is played in a process of its
// own: this program started again with TRELVIK_MUTANT set and --play-mutant.
// It plays each use the worker hands it on stdin and answers on stdout with
// the play (CTracedPlay::Serialize), a length line before each. It dies with
// the worker that started it.

#include <string>
#include <sys/types.h>
#include <vector>

#include "scenario/explore/trace_divergence.h"

class CFreshMutant {
public:
    static constexpr const char* SERVE_OPTION = "--play-mutant";

    explicit CFreshMutant(int mutant);
    ~CFreshMutant();
    CFreshMutant(const CFreshMutant&) = delete;
    CFreshMutant& operator=(const CFreshMutant&) = delete;

    // The lines played on the mutant, traced or not; false when the process
    // ended without an answer (the mutant crashed or stalled the firmware).
    bool Play(const std::vector<std::string>& lines, bool traced, CTracedPlay& played);
    // The started process's side: answers until stdin ends; the exit code.
    static int Serve();

private:
    pid_t m_pid = -1;
    int m_to = -1;    // its stdin
    int m_from = -1;  // its stdout
};
