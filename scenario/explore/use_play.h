#pragma once
// One use of the panel played from a fresh controller for the guided
// exploration: for every coverage item, the first step that reached it and
// how far into that step; a
// digest of the whole trace, so that two plays of the same steps can be
// compared; the machine at the end, written as expectations; and the first
// failed verdict, if any (a broken invariant among them). The outcome
// travels between processes as text.

#include <cstdint>
#include <string>
#include <vector>

#include "scenario/reports/scenario_coverage.h"

struct CUseOutcome {
    static constexpr int NOT_REACHED = -1;

    bool broken = false;
    std::string what;                                         // the first failed verdict: "machine invariant; seen ..."
    int32_t firstStep[CScenarioCoverage::ITEM_COUNT];         // step index, or NOT_REACHED
    uint32_t intoStepMs[CScenarioCoverage::ITEM_COUNT] = {};  // how long after that step began
    uint64_t endMs = 0;
    uint64_t digest = 0;       // of every change the trace recorder saw
    std::string expectations;  // where the machine stood after the last step

    CUseOutcome();
    std::string Serialize() const;
    // False for bytes that are no outcome.
    bool Parse(const std::string& bytes);
};

class CUsePlay {
public:
    // Each line one step.
    static CUseOutcome Play(const std::vector<std::string>& lines);
};
