#pragma once
// trelvik-scenario --explore: plays seeded random uses of the panel, plant
// faults among them (CRandomUse), each as a scenario from a freshly started
// controller with the machine's invariants checked after every virtual ms.
// The first run that breaks one (or fails any verdict) is shortened, by
// cutting what follows the break and dropping earlier steps while the same
// invariant still breaks, and written as OUT/explore-SEED.scn: a scenario
// that replays the break deterministically and fails at the same point.

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

class CScenarioExplorer {
public:
    // The most replays spent on shortening one break.
    static constexpr int MAX_REPLAYS = 150;

    struct CBreak {
        bool broken = false;
        size_t step = 0;      // index of the step under way
        uint64_t timeMs = 0;  // virtual time of the break
        std::string what;     // "machine invariant; seen both disk motor wires driven"
    };

    CScenarioExplorer(uint64_t runs, uint64_t firstSeed, std::string outDir, std::ostream& out, std::ostream& err,
                      unsigned jobs = 1);

    // 0: no run broke anything; 1: a break was written; 2: it could not be written.
    int Run();

    // The seeds are played in worker processes (CWorkerPool), a batch at a
    // time; the first break in seed order is the one shortened and written,
    // whatever the number of jobs.
    static constexpr uint64_t BATCH = 64;
    // A worker's task: the seed's use played, its break as text.
    static std::string PlaySeed(const std::string& seed);

    // Plays the steps from a fresh controller; the first failed verdict.
    static CBreak Play(const std::vector<std::string>& lines);
    // The fewest steps found that still break the same way.
    static std::vector<std::string> Shorten(std::vector<std::string> lines, CBreak& at, int& replays);

    // Prints the seed and the break, then writes the steps as OUT/explore-SEED.scn;
    // 1, or 2 when the file cannot be written.
    int Write(uint64_t seed, const std::vector<std::string>& lines, size_t played);

private:
    unsigned m_jobs;
    uint64_t m_runs;
    uint64_t m_firstSeed;
    std::string m_outDir;
    std::ostream& m_out;
    std::ostream& m_err;
};
