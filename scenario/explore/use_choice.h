#pragma once
// How the guided exploration makes its next use from the uses it kept.
//
// Undirected, a new use is fresh or a kept use (leaning to the later ones)
// followed by random steps. Directed, most new uses aim at an item not yet
// reached: a transition whose state a kept use entered is tried from there,
// the kept use cut just after it entered that state (a long wait shortened
// to the ms it took), followed now and then by the input the transition
// answers (the drawer for "interrupted by the drawer"); the other uses grow
// from kept ones weighed by how rare their items are, as a coverage-guided
// fuzzer weighs rare edges up: an item that one kept use reached weighs as
// much as one that ten did, all ten together. While a travel was never
// retried or given up, some uses take a kept one that started a travel
// early, hold an end switch open just after, and wait. The same seed and
// kept uses always make the same use.

#include <cstdint>
#include <string>
#include <vector>

#include "scenario/explore/use_play.h"

class CPicker;

struct CKeptUse {
    std::vector<std::string> lines;
    CUseOutcome outcome;  // as its replay played it
};

class CUseChoice {
public:
    // A use is never longer than this in virtual time.
    static constexpr uint64_t LONGEST_USE_MS = 2500000;

    // `reached` has CScenarioCoverage::ITEM_COUNT entries.
    static std::vector<std::string> Make(uint64_t seed, const std::vector<CKeptUse>& kept, const bool* reached,
                                         bool directed);
    // The virtual time the steps take at most: waits, holds and forced stops.
    static uint64_t VirtualMs(const std::vector<std::string>& lines);
    // The input a transition answers ("drawer", "cover", "power", "wash"), or "" for one that comes in time.
    static std::string Trigger(int transition);

private:
    static std::vector<std::string> Continue(CPicker& pick, std::vector<std::string> lines);
    static bool TowardTransition(CPicker& pick, const std::vector<CKeptUse>& kept, const bool* reached,
                                 std::vector<std::string>& lines);
    static bool TowardOutcome(CPicker& pick, const std::vector<CKeptUse>& kept, const bool* reached,
                              std::vector<std::string>& lines);
    static void CutAt(CPicker& pick, const CKeptUse& use, int item, uint64_t slackMs, std::vector<std::string>& lines);
    static size_t RareOne(CPicker& pick, const std::vector<CKeptUse>& kept);
    static size_t Weighed(CPicker& pick, const std::vector<uint64_t>& weights);

    static constexpr uint64_t SHARE = 720720;  // divides evenly by every count up to 16
};
