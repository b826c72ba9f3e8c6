#pragma once
// A mutant whose code runs before main (a table of steps set up by a switched
// expression) cannot be chosen in a running process: the table was set up
// with the firmware as written. Such a mutant is played in a process of its
// own: this program started again with TRELVIK_MUTANT set and --play-mutant.
// Its stdin and stdout are one end of a socket pair: it plays each use the
// worker hands it there and answers with the play (CTracedPlay::Serialize),
// in frames (socket_frame.h). It dies with the worker that started it.

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
    int m_socket = -1;  // the worker's end
};
