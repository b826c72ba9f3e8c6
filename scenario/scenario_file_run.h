#pragma once
// Runs one parsed scenario from a freshly started controller, with what the
// call asked for around it: the trace (with firmware variables added by
// name), the coverage, and, at every virtual ms, the machine's invariants. A
// broken invariant is a failed verdict of the step under way, at the ms it
// broke, given once per run ("machine invariant; seen both disk motor wires
// driven"). Each verdict is handed on as it comes, in time order. A signal
// noted while it runs (cleanup_signals.h) stops it at the next virtual ms:
// the step under way gets an error, "interrupted (SIGTERM)", and the trace's
// temporary file is removed.

#include <functional>
#include <string>
#include <vector>

#include "scenario/file_result.h"
#include "scenario/scenario_step.h"

class CRunWatch;
class CScenarioCoverage;

class CScenarioFileRun {
public:
    // The verdict of a broken invariant says this.
    static constexpr const char* INVARIANT = "machine invariant";

    CScenarioFileRun(std::string file, std::vector<CScenarioStep> steps);

    void SetTrace(std::string vcdPath, std::vector<std::string> variables);
    void SetCoverage(CScenarioCoverage* coverage) { m_coverage = coverage; }
    // Told of each verdict as the run reaches it.
    std::function<void(const CFileResult& file, const CScenarioResult& result)> m_onResult;

    // Runs the steps to their end; the result's code is 0, 1 or 2.
    CFileResult Run();

private:
    void Add(CFileResult& file, const CScenarioResult& result);
    void AddStop(CFileResult& file, const CRunWatch& watch, int line, uint64_t nowMs);

    std::string m_file;
    std::vector<CScenarioStep> m_steps;
    std::string m_vcdPath;
    std::vector<std::string> m_variables;
    CScenarioCoverage* m_coverage = nullptr;
};
