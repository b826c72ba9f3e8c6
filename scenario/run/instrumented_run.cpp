#include "scenario/run/instrumented_run.h"

#include <chrono>
#include <memory>

#include "scenario/reports/scenario_coverage.h"
#include "sim/counting_beep.h"
#include "sim/machine_invariants.h"
#include "sim/trace_recorder.h"
#include "sim/vcd_sink.h"
#include "sim/virtual_simulator.h"

CScenarioFileRun::CScenarioFileRun(std::string file, std::vector<CScenarioStep> steps)
    : m_file(std::move(file)), m_steps(std::move(steps))
{
}

void CScenarioFileRun::SetTrace(std::string vcdPath, std::vector<std::string> variables)
{
    m_vcdPath = std::move(vcdPath);
    m_variables = std::move(variables);
}

void CScenarioFileRun::Add(CFileResult& file, const CScenarioResult& result)
{
    file.results.push_back(result);
    if (m_onResult)
        m_onResult(file, result);
}

CFileResult CScenarioFileRun::Run()
{
    CFileResult file;
    file.file = m_file;
    file.ran = true;
    const auto start = std::chrono::steady_clock::now();

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
        if (error.empty())
            trace->Open(m_vcdPath, error);
        if (!error.empty()) {
            file.ran = false;
            file.code = CFileResult::NOT_RUN;
            file.error = m_file + ": " + error;
            return file;
        }
    }
    if (m_coverage)
        m_coverage->Start();

    CMachineInvariants invariants(sim);
    CScenarioExecutor* executor = nullptr;
    bool broken = false;
    CScenarioResult invariant;  // the first invariant broken, until its turn among the verdicts
    bool pending = false;
    sim.m_onMs = [&] {
        if (trace)
            recorder.Sample(sim.Now() - 1);  // whatever was seen in the ms before this one
        if (m_coverage)
            m_coverage->AfterMs();
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
    {
        CScenarioExecutor run(sim, m_steps);
        executor = &run;
        run.m_onResult = [&](const CScenarioResult& result) {
            if (pending && invariant.timeMs <= result.timeMs) {
                pending = false;
                Add(file, invariant);
            }
            Add(file, result);
        };
        run.RunToEnd();
        executor = nullptr;
    }
    sim.m_onMs = nullptr;
    if (pending)
        Add(file, invariant);
    file.code = file.Errors() ? CFileResult::NOT_RUN : file.Failed() ? CFileResult::SOME_FAILED : CFileResult::ALL_HELD;
    if (trace) {
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
