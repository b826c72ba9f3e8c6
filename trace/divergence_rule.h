#pragma once
// What a divergence between two traces is, and which variables of the two
// are held against each other: the one rule of the comparison of two dumps
// (CTraceCompare) and of the watch that finds the first divergence as the
// live trace grows (CDivergenceWatch).
//
// Variables are matched by name: the short name ("MAIN_FAN") where a trace
// has it once, else the full one ("trelvik.ports.MAIN_FAN"), whatever the
// scopes and identifiers.
//
// A divergence is a time at which a variable changed in either trace and
// then holds different values in the two: the values are compared once
// every edge of that time is in. Of several, the first is the earliest, and
// on equal times the one of the variable first in A's (the live trace's)
// order.
//
// A variable joins a trace with its first value: before it, it is not
// traced (our writer leaves a late variable out of $dumpvars and writes its
// first value at its join time), and nothing of it is compared until it has
// joined both traces. Standard C++ only.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// The names a trace's variables are matched by, in the trace's order.
struct CMatchName {
    std::string key;   // what the variable is matched by
    std::string full;  // scope and name ("trelvik.ports.MAIN_FAN")
};

// `variables` holds each variable's scope and name, in the trace's order.
std::vector<CMatchName> match_names(const std::vector<std::pair<std::string, std::string>>& variables);

// One variable's value in each trace, and the time of the edges not yet
// compared. Edges come in time order, either trace's; the values are
// compared when a later time begins, or when the caller settles.
class CValuePair {
public:
    static constexpr uint64_t NONE = UINT64_MAX;

    uint64_t a = 0, b = 0;

    // An edge of either at timeMs; the values are set by the caller after.
    // Returns the time before it at which the two then diverged, or NONE.
    uint64_t Edge(uint64_t timeMs)
    {
        const uint64_t diverged = m_pendingMs != NONE && m_pendingMs < timeMs ? Settle() : NONE;
        m_pendingMs = timeMs;
        return diverged;
    }
    // Compares the values of the pending time, if any: its time if they differ, else NONE.
    uint64_t Settle()
    {
        const uint64_t timeMs = m_pendingMs;
        m_pendingMs = NONE;
        return timeMs != NONE && a != b ? timeMs : NONE;
    }
    // Every time before timeMs is complete: settles the pending one if it is earlier.
    uint64_t SettleBefore(uint64_t timeMs) { return m_pendingMs < timeMs ? Settle() : NONE; }
    uint64_t PendingMs() const { return m_pendingMs; }

private:
    uint64_t m_pendingMs = NONE;
};

// Whether a divergence at timeMs is one: both have joined by then (a join
// time is UINT64_MAX while the variable has no value).
inline bool both_joined(uint64_t timeMs, uint64_t joinedA, uint64_t joinedB)
{
    return timeMs >= joinedA && timeMs >= joinedB;
}

// Whether a divergence at timeMs of the variable at `order` in A comes
// before one at otherMs of the variable at otherOrder.
inline bool diverges_first(uint64_t timeMs, size_t order, uint64_t otherMs, size_t otherOrder)
{
    return timeMs < otherMs || (timeMs == otherMs && order < otherOrder);
}
