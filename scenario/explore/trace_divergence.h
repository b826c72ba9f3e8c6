#pragma once
// Where the trace of a mutant's play first parts from the trace of the same
// use on the firmware as written, and the checks that tell the two apart
// (mutant_trial.h). A check stands in part of a `wait` step, so that the use
// keeps its timing: it begins no earlier than the last change of its value
// before the difference, and ends just after it.

#include <cstdint>
#include <string>
#include <vector>

#include "trace/trace_sink.h"

// A check standing in part of a wait step: it may begin anywhere from
// `earliestMs` to its latest start (Latest()) into the step, and ends at
// `endMs`, so that checks of several mutants can share a wait one after the
// other.
struct CCheckpoint {
    static constexpr int END = -1;  // `step`: after the use's last step
    enum Kind : char {
        CHANGES = 'c',     // run-until CONDITION within N after N: the value changes at that very ms
        HOLDS = 'h',       // expect-for N CONDITION: the value holds since its last change through that ms
        HOLDS_LAST = 'l',  // the same on a wait's last ms: expect-for N CONDITION, then expect CONDITION
        ENDS = 'e',        // after the last step, the machine as it stood: `condition` holds the expectations
    };

    int step = END;
    uint64_t earliestMs = 0;
    uint64_t startMs = 0;  // where it is placed: from earliestMs to Latest()
    uint64_t endMs = 0;
    Kind kind = ENDS;
    std::string condition;  // "signal HEATER 1"

    uint64_t Latest() const { return endMs - (kind == HOLDS ? 2 : 1); }
    // Its lines, placed at startMs.
    std::string Text() const;
    std::string Serialize() const;
    bool Parse(const std::string& bytes);
};

struct CTracedPlay {
    static constexpr uint64_t NO_BEGIN = UINT64_MAX;

    struct CChange {
        uint64_t ms;
        int channel;
        int64_t value;
    };
    std::vector<CTraceChannel> channels;
    std::vector<int64_t> initial;
    std::vector<CChange> changes;     // in time order
    std::vector<uint64_t> stepBegin;  // per step: the virtual ms it began, or NO_BEGIN (a step of no time)
    int code = 0;                     // the run's: 0 every verdict held
    std::string expectations;         // where the machine stood after the last step

    // As text, to come back from another process (traced_play.cpp).
    std::string Serialize() const;
    bool Parse(const std::string& bytes);
};

class CTraceDivergence {
public:
    // At most `count` checks, each at one of the first ms the traces differ
    // that falls in a wait, earliest first.
    static std::vector<CCheckpoint> Checks(const CTracedPlay& plain, const CTracedPlay& mutant,
                                           const std::vector<std::string>& lines, size_t count);
    // The checks of one use placed one after the other in their waits, by
    // their ends, each as early as it may after the one before, to be
    // written; a check the same as the one before is merged with it.
    // `placed[i]`: whether check i found a place.
    static std::vector<CCheckpoint> Place(const std::vector<CCheckpoint>& checks, std::vector<bool>& placed);
    // The condition that a channel has a value ("signal HEATER 1", "state 5",
    // "motor disk 40", "var run_sec 12", "beeps 2"); empty for one no
    // condition reads.
    static std::string Condition(const CTraceChannel& channel, int64_t value);
    // The beeps checks of checks in the order they are written, each counting
    // from the use's start, made to count from the last `expect beeps`
    // before it, as a scenario counts them.
    static void CountBeepsFromRestarts(std::vector<CCheckpoint>& checks);
};
