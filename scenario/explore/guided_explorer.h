#pragma once
// trelvik-scenario --explore N --guided --suite DIR: random uses of the
// panel guided by coverage, as a coverage-guided fuzzer is. A use that
// reaches a coverage item no kept use reached (a state, a transition, a
// timer, a travel outcome) is cut just after the step that reached the last
// of those, played twice more to make sure it always comes to the same trace,
// and kept: written as DIR/cover-NNN.scn, a comment naming what it covers,
// its steps, then expectations of where the machine stood. A new use is
// either fresh or a kept use followed by new random steps, so deep items
// are reached from kept ones; one that sets a plant fault may wait long
// enough for a time-out and a give-up (up to 2,500 virtual s in all).
//
// The uses are played in rounds of ROUND uses whatever the number of jobs:
// each round's uses are made from the kept uses as they stood before it, and
// are judged in seed order, so the suite, the output and the exit code are
// the same for every number of workers. It stops when every item has been
// reached, or after N uses.

#include <cstdint>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "scenario/explore/use_play.h"
#include "scenario/reports/scenario_coverage.h"

class CWorkerPool;

class CGuidedExplorer {
public:
    static constexpr uint64_t ROUND = 16;
    static constexpr uint64_t LONGEST_USE_MS = 2500000;

    CGuidedExplorer(uint64_t runs, uint64_t firstSeed, std::string suiteDir, unsigned jobs, std::ostream& out,
                    std::ostream& err);
    ~CGuidedExplorer();

    // 0: every item reached; 1: some never were; 2: the suite could not be written.
    int Run();

    // The use of `seed`: fresh, or a kept use continued; the same for the same kept uses.
    static std::vector<std::string> MakeUse(uint64_t seed, const std::vector<std::vector<std::string>>& kept);
    // The virtual time the steps take at most.
    static uint64_t VirtualMs(const std::vector<std::string>& lines);
    // What a worker does with a task: the lines of a use, played.
    static std::string PlayTask(const std::string& task);

private:
    bool CheckSuite();
    void Judge(uint64_t seed, const std::vector<std::string>& lines, const CUseOutcome& played);
    bool Keep(uint64_t seed, std::vector<std::string> lines, const std::vector<int>& items);
    bool Write(uint64_t seed, const std::vector<std::string>& lines, const std::vector<int>& items,
               const CUseOutcome& end);
    std::vector<CUseOutcome> PlayAll(const std::vector<std::vector<std::string>>& uses, bool& complete);
    bool AllReached() const;
    void Summary(uint64_t played, double seconds);

    uint64_t m_runs;
    uint64_t m_firstSeed;
    std::string m_suiteDir;
    std::ostream& m_out;
    std::ostream& m_err;
    std::unique_ptr<CWorkerPool> m_pool;
    std::vector<std::vector<std::string>> m_kept;
    bool m_reached[CScenarioCoverage::ITEM_COUNT] = {};
    CScenarioCoverage m_coverage;  // what the kept uses reached, as their replay counts it
    bool m_writeFailed = false;
};
