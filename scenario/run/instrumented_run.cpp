#include "scenario/run/instrumented_run.h"

#include <chrono>
#include <ctime>
#include <memory>

#include "cli/cleanup_signals.h"
#include "scenario/reports/scenario_coverage.h"
#include "scenario/run/run_watch.h"
#include "sim/counting_beep.h"
#include "sim/machine_invariants.h"
#include "sim/trace_recorder.h"
#include "sim/virtual_simulator.h"
#include "trace/vcd_sink.h"
#include "trelvik_version.h"

namespace {

// As JUnit's timestamp has it: local time, to the second, without a zone.
std::string local_time_now()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &local);
    return text;
}

}  // namespace

CInstrumentedRun::CInstrumentedRun(std::string file, std::vector<CScenarioStep> steps)
    : m_file(std::move(file)), m_steps(std::move(steps))
{
}

CInstrumentedRun::~CInstrumentedRun() = default;

void CInstrumentedRun::SetTrace(std::string vcdPath, std::vector<std::string> variables)
{
    m_vcdPaths.insert(m_vcdPaths.begin(), std::move(vcdPath));
    m_variables = std::move(variables);
}

int CInstrumentedRun::LineAt(uint64_t timeMs) const
{
    int line = m_steps.empty() ? 0 : m_steps.front().line;
    for (const auto& [startMs, startLine] : m_stepStarts) {
        if (startMs > timeMs)
            break;
        line = startLine;
    }
    return line;
}

void CInstrumentedRun::NoteLine(uint64_t timeMs, int line)
{
    if (line > 0 && (m_stepStarts.empty() || m_stepStarts.back().second != line))
        m_stepStarts.emplace_back(timeMs, line);
}

// Every trace file of the run, each with the same channels; false with the file's error.
bool CInstrumentedRun::OpenTraces(CTraceRecorder& recorder, CFileResult& file)
{
    std::string error;
    for (const std::string& name : m_variables) {
        error = CTraceRecorder::CheckVariable(name);
        if (!error.empty())
            break;
        recorder.AddVariable(name);
    }
    for (const std::string& path : m_vcdPaths) {
        if (!error.empty())
            break;
        // The header names the program and its version, so a baseline tells what recorded it.
        m_traces.push_back(std::make_unique<CVcdSink>("trelvik-scenario " TRELVIK_VERSION));
        recorder.AddSink(*m_traces.back());
        m_traces.back()->SetComment(m_traceComment);
        if (m_traceLimit)
            m_traces.back()->SetByteLimit(m_traceLimit);
        m_traces.back()->Open(path, error);
    }
    if (error.empty())
        return true;
    m_traces.clear();
    file.ran = false;
    file.code = CFileResult::NOT_RUN;
    file.error = m_file + ": " + error;
    return false;
}

bool CInstrumentedRun::FinishTraces(CFileResult& file, uint64_t endMs)
{
    for (const std::unique_ptr<CVcdSink>& trace : m_traces) {
        std::string error;
        if (!trace->Finish(endMs, error)) {
            file.error = m_file + ": " + error;
            file.code = CFileResult::NOT_RUN;
            return false;
        }
    }
    return true;
}

void CInstrumentedRun::Add(CFileResult& file, CScenarioResult result)
{
    const auto now = std::chrono::steady_clock::now();
    result.seconds = std::chrono::duration<double>(now - m_lastResultAt).count();
    m_lastResultAt = now;
    file.results.push_back(std::move(result));
    const CScenarioResult& added = file.results.back();
    if (m_onResult)
        m_onResult(file, added);
}

// The step under way when the run was stopped gets the reason.
void CInstrumentedRun::AddStop(CFileResult& file, const CRunWatch& watch, int line, uint64_t nowMs)
{
    CScenarioResult stop;
    stop.line = line;
    stop.timeMs = nowMs;
    stop.error = watch.Why() == CRunWatch::INTERRUPTED;
    if (stop.error)
        stop.what = noted_fatal_signal()
                        ? std::string("interrupted (") + CRunWatch::SignalName(noted_fatal_signal()) + ")"
                        : FAIL_FAST_STOP;
    else
        stop.what = "timed out after " + m_timeoutText + " s";
    Add(file, stop);
}

CFileResult CInstrumentedRun::Run()
{
    CFileResult file;
    file.file = m_file;
    file.ran = true;
    const auto start = std::chrono::steady_clock::now();
    m_lastResultAt = start;
    file.timestamp = local_time_now();

    CCountingBeep beep;  // installed before the simulator starts, removed after it is gone
    CVirtualSimulator sim;
    CTraceRecorder recorder(&sim.View());
    if (!m_vcdPaths.empty() && !OpenTraces(recorder, file))
        return file;
    if (m_sink) {
        for (const std::string& name : m_sinkVariables)
            if (m_traces.empty())  // a trace file's channels are fixed once it is open
                recorder.AddVariable(name);
        recorder.AddSink(*m_sink);
    }
    const bool sampled = !m_traces.empty() || m_sink;
    if (m_coverage)
        m_coverage->Start();

    CMachineInvariants invariants(sim);
    CScenarioExecutor* executor = nullptr;
    bool broken = false;
    CScenarioResult invariant;  // the first invariant broken, until its turn among the verdicts
    bool pending = false;
    sim.m_onMs = [&] {
        if (sampled)
            recorder.Sample(sim.Now() - 1);  // whatever was seen in the ms before this one
        if (executor)
            NoteLine(sim.Now() - 1, executor->CurrentLine());
        if (m_coverage)
            m_coverage->AfterMs();
        if (m_afterMs)
            m_afterMs(executor ? executor->CurrentLine() : 0, sim.Now());
        if (broken)
            return;
        const std::string why = invariants.AfterMs();
        if (why.empty())
            return;
        broken = pending = true;
        invariant.line = executor ? executor->CurrentLine() : 0;
        invariant.timeMs = sim.Now();
        invariant.what = INVARIANT;
        invariant.seen = why;
    };
    sim.Startup();
    CRunWatch watch(m_timeout);
    watch.m_onProgress = m_onProgress;
    int stoppedAt = -1;  // the line of the step under way when the watch stopped the run
    {
        CScenarioExecutor run(sim, m_steps);
        executor = &run;
        run.m_stop = [&] { return watch.Stop(run.CurrentLine(), sim.Now()); };
        run.m_onResult = [&](const CScenarioResult& result) {
            if (pending && invariant.timeMs <= result.timeMs) {
                pending = false;
                Add(file, invariant);
            }
            NoteLine(result.timeMs, result.line);  // a step with no virtual time is seen only here
            Add(file, result);
        };
        run.RunToEnd();
        if (m_onEnd && !run.Stopped())
            m_onEnd(sim);
        executor = nullptr;
        stoppedAt = run.Stopped() ? run.CurrentLine() : -1;
    }
    sim.m_onMs = nullptr;
    if (pending)
        Add(file, invariant);
    if (stoppedAt >= 0)
        AddStop(file, watch, stoppedAt, sim.Now());
    file.code = file.Errors() ? CFileResult::NOT_RUN : file.Failed() ? CFileResult::SOME_FAILED : CFileResult::ALL_HELD;
    if (!m_traces.empty() &&
        watch.Why() != CRunWatch::INTERRUPTED) {  // a cut-off trace is removed with the temporaries
        recorder.Sample(sim.Now());
        FinishTraces(file, sim.Now());
    }
    m_traces.clear();  // an unfinished one removes its temporary file
    file.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return file;
}
