#pragma once
// Where the trace of a mutant's play first parts from the trace of the same
// use on the firmware as written, and the checks that tell the two apart
// (mutant_trial.h). A check stands in part of a `wait` step, so that the use
// keeps its timing: it begins no earlier than the last change of its value
// before the difference, and ends just after it.

#include <cstdint>
#include <string>
#include <vector>

#include "scenario/explore/mutant_trial.h"
#include "trace/trace_sink.h"

struct CTracedPlay {
    static constexpr uint64_t NO_BEGIN = UINT64_MAX;

    struct CChange {
        uint64_t ms;
        int channel;
        int64_t value;
    };
    std::vector<CTraceChannel> channels;
    std::vector<int64_t> initial;
    std::vector<CChange> changes;  // in time order
    std::vector<uint64_t> stepBegin;  // per step: the virtual ms it began, or NO_BEGIN (a step of no time)
    int code = 0;                     // the run's: 0 every verdict held
    std::string expectations;         // where the machine stood after the last step
};

class CTraceDivergence {
public:
    // At most `count` checks, each at one of the first ms the traces differ
    // that falls in a wait, earliest first.
    static std::vector<CCheckpoint> Checks(const CTracedPlay& plain, const CTracedPlay& mutant,
                                           const std::vector<std::string>& lines, size_t count);
    // The condition that a channel has a value ("signal HEATER 1", "state 5",
    // "motor disk 40", "var run_sec 12"); empty for one no condition reads.
    static std::string Condition(const CTraceChannel& channel, int64_t value);
};
