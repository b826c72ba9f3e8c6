#pragma once
// Watches one file's run from outside the simulation, at every virtual ms:
// whether a signal was noted (the run then stops where it stands, and the
// report is still written).

#include <cstdint>

class CRunWatch {
public:
    enum Reason { NONE, INTERRUPTED };

    // True when the run must stop now; `line` is the step under way.
    bool Stop(int line, uint64_t nowMs);
    Reason Why() const { return m_why; }
    // "interrupted (SIGTERM)".
    static const char* SignalName(int sig);

private:
    Reason m_why = NONE;
};
