#pragma once
// trelvik-scenario --explore N --guided --suite DIR: random uses of the
// panel guided by coverage, as a coverage-guided fuzzer is. A use that
// reaches a coverage item no kept use reached (a state, a transition, a
// timer, a travel outcome) is cut just after the step that reached the last
// of those, played twice more to make sure it always comes to the same trace,
// and kept: written as DIR/cover-NNN.scn, a comment naming what it covers,
// its steps, then expectations of where the machine stood. A new use is
// either fresh or grown from a kept one, directed toward what is not yet
// reached (CUseChoice); one that sets a plant fault may wait long enough for
// a time-out and a give-up (up to 2,500 virtual s in all). A use that breaks
// an invariant is shortened and written as DIR/explore-SEED.scn, as
// --explore writes it, and the run ends there with 1.
//
// The uses are played in rounds of ROUND uses whatever the number of jobs:
// each round's uses are made from the kept uses as they stood before it, and
// are judged in seed order, so the suite, the output and the exit code are
// the same for every number of workers. It stops when every item has been
// reached, or after N uses; with --mutants the uses from then on hunt the
// firmware's mutants (mutant_hunt.h), up to N uses in all. After each round DIR/guided-progress notes the
// seed, the uses played and the uses kept, so that a run interrupted by a
// signal (which prints its summary so far) goes on with --resume DIR from
// the round after, and comes to the suite the whole run would have written.

#include <cstdint>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "scenario/explore/use_choice.h"
#include "scenario/explore/use_play.h"
#include "scenario/reports/scenario_coverage.h"

class CMutantHunt;
class CWorkerPool;

class CGuidedExplorer {
public:
    static constexpr uint64_t ROUND = 16;
    static constexpr const char* PROGRESS = "guided-progress";

    CGuidedExplorer(uint64_t runs, uint64_t firstSeed, std::string suiteDir, unsigned jobs, std::ostream& out,
                    std::ostream& err);
    ~CGuidedExplorer();

    // Goes on from the suite in the folder and its progress note (the seed is the note's).
    void SetResume() { m_resume = true; }
    // Uses made as before the guidance was directed: for comparing the two.
    void SetUndirected() { m_directed = false; }
    // After the coverage, hunts the firmware's mutants built into this
    // program (CMutantHunt): all, or those on the lines or in the files named,
    // less the known equivalents that file names (when not empty).
    void SetMutants(std::vector<std::string> only, std::string equivalentsPath);
    // Makes the uses instead of CUseChoice (for tests).
    using CMaker = std::function<std::vector<std::string>(uint64_t seed, const std::vector<CKeptUse>& kept)>;
    void SetMaker(CMaker maker) { m_maker = std::move(maker); }

    // 0: every item reached; 1: some never were, or a use broke the machine;
    // 2: the suite could not be written or resumed.
    int Run();

    // The name of the suite's file number `number`: "cover-001.scn".
    static std::string SuiteFile(uint64_t number);
    // What a worker does with a task: the lines of a use, played.
    static std::string PlayTask(const std::string& task);

private:
    bool CheckSuite();
    bool Resume(uint64_t& played);
    bool NoteProgress(uint64_t played);
    int Break(uint64_t seed, const std::vector<std::string>& lines);
    void Judge(uint64_t seed, const std::vector<std::string>& lines, const CUseOutcome& played);
    bool Keep(uint64_t seed, std::vector<std::string> lines, const std::vector<int>& items);
    void Reached(std::vector<std::string> lines, const CUseOutcome& played);
    bool Write(uint64_t seed, const std::vector<std::string>& lines, const std::vector<int>& items,
               const CUseOutcome& end);
    std::vector<CUseOutcome> PlayAll(const std::vector<std::vector<std::string>>& uses, bool& complete);
    bool AllReached() const;
    void Summary(uint64_t played, double seconds, int signal);
    bool Hunt(uint64_t& played);

    uint64_t m_runs;
    uint64_t m_firstSeed;
    std::string m_suiteDir;
    std::ostream& m_out;
    std::ostream& m_err;
    std::unique_ptr<CWorkerPool> m_pool;
    std::vector<CKeptUse> m_kept;
    bool m_reached[CScenarioCoverage::ITEM_COUNT] = {};
    CScenarioCoverage m_coverage;  // what the kept uses reached, as their replay counts it
    bool m_writeFailed = false;
    int m_broke = 0;  // 1 when a break was written, 2 when it could not be
    bool m_resume = false;
    bool m_directed = true;
    CMaker m_maker;
    bool m_mutants = false;
    std::vector<std::string> m_mutantsOnly;
    std::string m_equivalentsPath;
    std::unique_ptr<CMutantHunt> m_hunt;
};
