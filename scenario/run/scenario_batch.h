#pragma once
// One call of the runner over its scenario files: every file is read and
// parsed, and every output checked, before anything runs; then each file runs
// from a freshly started controller; last come the closing line over all
// files, the coverage and the JUnit report. The exit code is the worst of
// the files'. With --jobs the files run in worker processes, and their
// results are printed and reported in the order of the files, so the output
// is the same for every number of jobs.

#include <cstdint>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "scenario/command_line.h"
#include "scenario/language/scenario_step.h"
#include "scenario/run/file_result.h"
#include "scenario/run/worker_pool.h"

class CBaselineCheck;
class CInstrumentedRun;
class CScenarioCoverage;

class CScenarioBatch {
public:
    CScenarioBatch(const CCommandLine& command, std::ostream& out, std::ostream& err);
    ~CScenarioBatch();

    int Run();

    // A progress line on `err`, updated in place, for a file that runs long (stderr is a terminal).
    bool m_showProgress = false;

    const std::vector<CFileResult>& Results() const { return m_results; }

private:
    struct CLoaded {
        std::vector<CScenarioStep> steps;
        std::string vcdPath;
        std::string baselineTrace;           // DIR/NAME.vcd recorded, or DIR/NAME.new.vcd to compare
        std::vector<std::string> variables;  // traced: those asked for and the baseline's
        std::shared_ptr<CBaselineCheck> baseline;
        std::string record;  // the scenario's record in a baseline's header
    };

    void Load();
    bool CheckExpectations(size_t file, const std::vector<CScenarioStep>& steps);
    int WriteReports(int code);
    bool CheckOutputs();
    bool CheckSnapshots(size_t file);
    bool CheckBaselines(std::string& error);
    bool CheckSlackNames(std::string& error) const;
    void CompareWithBaseline(CFileResult& result, size_t file, const CInstrumentedRun& run);
    bool CheckNamedOnce(const std::string& target, std::string& error);
    bool CheckFolder(const std::string& folder, std::string& error);
    bool CheckTarget(const std::string& target, std::string& error) const;
    bool MakeFolders(std::string& error) const;
    void PlaceSnapshots();
    void RunFile(size_t file);
    // One file from a fresh controller; afterRun sees the result while the run still stands.
    CFileResult RunOne(size_t file, CScenarioCoverage* coverage,
                       std::function<void(const CFileResult&, const CScenarioResult&)> onResult,
                       const std::function<void(CFileResult&, const CInstrumentedRun&)>& afterRun = {});
    std::function<void(CFileResult&, const CInstrumentedRun&)> Comparison(size_t file);
    void PrintResult(const CFileResult& result, const CScenarioResult& r);
    void RunInWorkers(unsigned jobs);
    void LoseFile(size_t file, const CWorkerPool::CTaskEnd& end);
    void NotBegun(size_t file);
    void KeptFromFailFast(CFileResult& result);
    void Refuse(size_t file, const std::string& message);
    void ShowProgress(size_t file, int line, uint64_t nowMs);
    void ClearProgress();

    const CCommandLine& m_command;
    std::ostream& m_out;
    std::ostream& m_err;
    std::vector<CLoaded> m_loaded;                  // one per file, in the order given
    std::vector<CFileResult> m_results;             // one per file
    std::unique_ptr<CScenarioCoverage> m_coverage;  // over all files, with --coverage
    bool m_progressShown = false;
    std::vector<std::string> m_targets;        // the call's own outputs, each named once
    std::vector<std::string> m_foldersToMake;  // once every check has passed
    std::vector<std::string> m_baselines;      // read by --baseline, so never written
    struct CSnapshotTarget {
        std::string path;
        size_t file;
        int line;
    };
    std::vector<CSnapshotTarget> m_snapshots;  // the snapshots of the files checked so far
};
