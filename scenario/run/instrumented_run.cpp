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
#include "sim/vcd_sink.h"
#include "sim/virtual_simulator.h"

namespace {

// As JUnit's timestamp has it: local time, to the second, without a zone.
std::string local_time_now()
{
    const std::time_t now = std::time(nullptr);
    std::tm local {};
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

void CInstrumentedRun::SetTrace(std::string vcdPath, std::vector<std::string> variables)
{
    m_vcdPath = std::move(vcdPath);
    m_variables = std::move(variables);
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
        stop.what = std::string("interrupted (") + CRunWatch::SignalName(noted_fatal_signal()) + ")";
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
    std::unique_ptr<CVcdSink> trace;
    if (!m_vcdPath.empty()) {
        std::string error;
        for (const std::string& name : m_variables) {
            error = CTraceRecorder::CheckVariable(name);
            if (!error.empty())
                break;
            recorder.AddVariable(name);
        }
        trace = std::make_unique<CVcdSink>("trelvik-scenario");
        recorder.AddSink(*trace);
        if (m_traceLimit)
            trace->SetByteLimit(m_traceLimit);
        if (error.empty())
            trace->Open(m_vcdPath, error);
        if (!error.empty()) {
            file.ran = false;
            file.code = CFileResult::NOT_RUN;
            file.error = m_file + ": " + error;
            return file;
        }
    }
    if (m_sink)
        recorder.AddSink(*m_sink);
    const bool sampled = trace || m_sink;
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
    if (trace && watch.Why() != CRunWatch::INTERRUPTED) {  // a cut-off trace is removed with the temporaries
        std::string error;
        recorder.Sample(sim.Now());
        if (!trace->Finish(sim.Now(), error)) {
            file.error = m_file + ": " + error;
            file.code = CFileResult::NOT_RUN;
        }
    }
    file.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return file;
}
