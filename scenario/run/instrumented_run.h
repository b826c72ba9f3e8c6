#pragma once
// Runs one parsed scenario from a freshly started controller, with what the
// call asked for around it: the trace (with firmware variables added by
// name), the coverage, and, at every virtual ms, the machine's invariants. A
// broken invariant is a failed verdict of the step under way, at the ms it
// broke, given once per run ("machine invariant; seen both disk motor wires
// driven"). Each verdict is handed on as it comes, in time order. A signal
// noted while it runs (cleanup_signals.h) stops it at the next virtual ms:
// the step under way gets an error, "interrupted (SIGTERM)", and the trace's
// temporary file is removed. So does a stop request of the parent process
// (--fail-fast): "interrupted (--fail-fast)". A time-out stops it the same way, the step
// under way failing, and the trace is kept.

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "scenario/language/scenario_step.h"
#include "scenario/run/file_result.h"

class CRunWatch;
class CTraceRecorder;
class CVcdSink;
class CScenarioCoverage;
class CTraceSink;
class CVirtualSimulator;

class CInstrumentedRun {
public:
    // The verdict of a broken invariant says this.
    static constexpr const char* INVARIANT = "machine invariant";
    // The error of the step under way when the parent asked the run to stop (--fail-fast).
    static constexpr const char* FAIL_FAST_STOP = "interrupted (--fail-fast)";

    CInstrumentedRun(std::string file, std::vector<CScenarioStep> steps);
    ~CInstrumentedRun();

    void SetTrace(std::string vcdPath, std::vector<std::string> variables);
    // One more file of the same trace (a baseline, or a run to compare with one).
    void AddTraceFile(std::string vcdPath) { m_vcdPaths.push_back(std::move(vcdPath)); }
    // A $comment in each trace's header (a baseline's record of its scenario).
    void SetTraceComment(std::string comment) { m_traceComment = std::move(comment); }
    // The line of the step under way at virtual ms `timeMs` of the run's trace.
    int LineAt(uint64_t timeMs) const;
    // The trace stops growing at `bytes`, and the file then ends with an error.
    void SetTraceLimit(uint64_t bytes) { m_traceLimit = bytes; }
    // A run longer than this in wall time stops, the step under way failing
    // with "timed out after TEXT s" (TEXT as the user gave it).
    void SetTimeout(double seconds, std::string text)
    {
        m_timeout = seconds;
        m_timeoutText = std::move(text);
    }
    // Where a long run stands (CRunWatch), for a progress line.
    std::function<void(int line, uint64_t nowMs)> m_onProgress;
    void SetCoverage(CScenarioCoverage* coverage) { m_coverage = coverage; }
    // Told of each verdict as the run reaches it.
    std::function<void(const CFileResult& file, const CScenarioResult& result)> m_onResult;

    // After every virtual ms, with the line of the step under way (0 when finished).
    std::function<void(int line, uint64_t nowMs)> m_afterMs;
    // Also hands the trace to this sink (without a trace file).
    void SetTraceSink(CTraceSink* sink) { m_sink = sink; }
    // With a sink and no trace file: these firmware variables join its trace too.
    void SetSinkVariables(std::vector<std::string> names) { m_sinkVariables = std::move(names); }
    // The machine as the last step left it, before it is taken down.
    std::function<void(CVirtualSimulator& sim)> m_onEnd;

    // Runs the steps to their end; the result's code is 0, 1 or 2.
    CFileResult Run();

private:
    void Add(CFileResult& file, CScenarioResult result);
    void AddStop(CFileResult& file, const CRunWatch& watch, int line, uint64_t nowMs);

    std::string m_file;
    std::string m_traceComment;
    std::vector<CScenarioStep> m_steps;
    bool OpenTraces(CTraceRecorder& recorder, CFileResult& file);
    bool FinishTraces(CFileResult& file, uint64_t endMs);
    void NoteLine(uint64_t timeMs, int line);

    std::vector<std::string> m_vcdPaths;
    std::vector<std::unique_ptr<CVcdSink>> m_traces;
    std::vector<std::pair<uint64_t, int>> m_stepStarts;  // (trace ms, line), a step's first ms under way
    std::vector<std::string> m_variables;
    std::vector<std::string> m_sinkVariables;
    uint64_t m_traceLimit = 0;  // none
    double m_timeout = 0;       // none
    std::string m_timeoutText;
    CScenarioCoverage* m_coverage = nullptr;
    CTraceSink* m_sink = nullptr;
    std::chrono::steady_clock::time_point m_lastResultAt;
};
