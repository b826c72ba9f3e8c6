#pragma once
// Compares two value-change dumps, A and B, variable by variable, matched by
// name (or paired by a name map) and diverging as trace/divergence_rule.h
// says; a variable that joins a trace late is compared only from then on. An edge of B that is
// the same change (from the same value to the same value) as an edge of A,
// at most the variable's slack earlier or later, counts as "moved" and not as
// a divergence. The work is linear in the changes, whatever the times.
// Standard C++ only.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "trace/name_map.h"
#include "trace/value_match.h"
#include "trace/vcd_reader.h"

class CTraceCompare {
public:
    struct COptions {
        uint64_t slack = 0;                             // in the dumps' time unit, ms for ours
        std::map<std::string, uint64_t> slackByName{};  // a variable's own slack, by its name or full name
        std::vector<std::string> only{};                // names (or full names) compared; all when empty
        size_t keep = SIZE_MAX;                         // divergences kept, the first in time; all are counted
        CTolerance tolerance{};                         // for reals
        CNameMap map{};                                 // A's names paired with B's where they differ
    };

    struct CDivergence {
        uint64_t timeMs = 0;
        std::string name;
        uint64_t valueA = 0, valueB = 0;  // in the pair's space (trace/value_match.h)
        uint64_t lastChangeB = 0;         // when B last changed the variable, at or before timeMs
        bool real = false;                // either is a real
        std::string textA, textB;         // the values as text ("0.25", "1x0z")
        // "21603 ms: MAIN_FAN A=1 B=0", the time in the dumps' unit
        std::string Text(const std::string& unit = "ms") const;
    };

    struct CMoved {
        std::string name;
        uint64_t edges = 0;      // edges moved within the slack
        uint64_t largestMs = 0;  // the farthest of them moved
    };

    struct CResult {
        std::vector<CDivergence> divergences;   // in time order, at most COptions::keep
        uint64_t divergenceCount = 0;           // all of them
        std::vector<CDivergence> firstByName;   // each diverging variable's first divergence, in time order
        std::vector<std::string> onlyA, onlyB;  // names one dump has and the other lacks
        std::vector<CMoved> moved;              // the variables with moved edges, in A's order
        uint64_t endA = 0, endB = 0;            // the dumps' last time stamps
        bool endsDiffer = false;                // by more than the global slack

        bool Same() const;
        // The first divergence and at most `more` after it, one per variable.
        std::vector<CDivergence> FirstAndOnePerName(size_t more) const;
        uint64_t MovedEdges() const;
        uint64_t LargestMoveMs() const;
    };

    static CResult Compare(const CVcdReader& a, const CVcdReader& b, const COptions& options);
    // The same for two dumps read forward together (CVcdReader::Open, their
    // units set), to their ends; false with a reader's reason. What is held
    // is a stretch of each, and with slack the edges within one slack.
    static bool CompareStreams(CVcdReader& a, CVcdReader& b, const COptions& options, CResult& result,
                               std::string& error, uint64_t stretch = STRETCH);

    // The names a dump's variables are matched by, in its order.
    static std::vector<std::string> Names(const CVcdReader& dump);
    // Whether the dump has a variable of that name or full name.
    static bool Has(const CVcdReader& dump, const std::string& name);

    // The bytes of a dump read on at a time.
    static constexpr uint64_t STRETCH = uint64_t{256} << 10;

private:
    class CPair;
    struct CPairs;
};
