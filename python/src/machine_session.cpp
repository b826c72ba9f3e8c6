#include "python/src/machine_session.h"

#include "sim/plant_faults.h"
#include "sim/trace_recorder.h"
#include "trace/vcd_sink.h"
#include "trelvik_version.h"

namespace {

std::string ms_text(uint64_t ms) { return std::to_string(ms) + " ms"; }

}  // namespace

CMachineSession::CMachineSession(std::vector<std::string> traceVariables)
    : m_traceVariables(std::move(traceVariables)),
      m_sim(std::make_unique<CVirtualSimulator>()),
      m_probe(*m_sim),
      m_invariants(*m_sim)
{
    for (const std::string& name : m_traceVariables) {
        const std::string error = CTraceRecorder::CheckVariable(name);
        if (!error.empty())
            throw std::invalid_argument(error);
    }
    m_coverage.Start();
    m_sim->m_onMs = [this] { AfterMs(); };
    m_sim->Startup();
}

CMachineSession::~CMachineSession()
{
    std::string error;
    EndTrace(error);
    m_sim->m_onMs = nullptr;
    m_sim.reset();  // joins the firmware's thread, which waits parked in its sleep
}

// On the firmware's side of the lockstep, as the runner watches a run.
void CMachineSession::AfterMs()
{
    if (m_recorder)
        m_recorder->Sample(m_sim->Now() - 1);  // whatever was seen in the ms before this one
    m_coverage.AfterMs();
    if (!m_broken.empty())
        return;
    m_broken = m_invariants.AfterMs();
    m_brokenAt = m_sim->Now();
}

bool CMachineSession::RunTo(uint64_t limitMs, const std::function<bool()>& done)
{
    for (;;) {
        const uint64_t sliceEnd = std::min(limitMs, m_sim->Now() + SLICE_MS);
        if (m_sim->RunUntil(sliceEnd, done))
            return true;
        if (m_sim->Now() >= limitMs)
            return false;
        if (m_interrupted && m_interrupted())
            throw CSessionInterrupted{};
    }
}

void CMachineSession::Wait(uint64_t ms) { RunTo(m_sim->Now() + ms); }

CStepVerdict CMachineSession::Play(const CScenarioStep& step)
{
    switch (step.kind) {
    case CScenarioStep::WAIT:
        Wait(step.ms);
        return {};
    case CScenarioStep::CLICK:
        Click(step);
        return {};
    case CScenarioStep::RUN_UNTIL:
        return RunUntil(step);
    case CScenarioStep::EXPECT_FOR:
        return ExpectFor(step);
    case CScenarioStep::RESET_CPU:
        return ResetCpu(step);
    default:
        return Instant(step);
    }
}

// A click where the last one was waits until the key has been up long
// enough for the firmware to see the release: two clicks, not one long press.
void CMachineSession::Click(const CScenarioStep& step)
{
    const bool again = m_clicked && step.point.x == m_clickPoint.x && step.point.y == m_clickPoint.y;
    if (again && m_sim->Now() < m_releasedAt + CScenarioStep::RELEASE_GAP_MS)
        RunTo(m_releasedAt + CScenarioStep::RELEASE_GAP_MS);
    m_sim->Press(step.point);
    RunTo(m_sim->Now() + step.ms);
    m_sim->Release();
    m_clicked = true;
    m_clickPoint = step.point;
    m_releasedAt = m_sim->Now();
}

CStepVerdict CMachineSession::RunUntil(const CScenarioStep& step)
{
    const uint64_t begin = m_sim->Now();
    const CScenarioCondition& condition = step.condition;
    CStepVerdict verdict;
    verdict.what = step.Describe();
    if (!RunTo(begin + step.ms, [this, &condition] { return m_probe.Holds(condition); })) {
        verdict.held = false;
        verdict.seen = m_probe.Seen(condition) + ", the limit passed";
        return verdict;
    }
    verdict.elapsedMs = m_sim->Now() - begin;
    const bool early = verdict.elapsedMs < step.afterMs;
    verdict.held = !early;
    verdict.seen = m_probe.Seen(condition) + " after " + ms_text(verdict.elapsedMs) +
                   (early ? ", before " + ms_text(step.afterMs) : "");
    return verdict;
}

// The first ms the condition fails is reported, and time runs on to the
// step's end either way.
CStepVerdict CMachineSession::ExpectFor(const CScenarioStep& step)
{
    const uint64_t begin = m_sim->Now();
    const uint64_t end = begin + step.ms;
    const CScenarioCondition& condition = step.condition;
    CStepVerdict verdict;
    verdict.what = step.Describe();
    verdict.held = !RunTo(end, [this, &condition] { return !m_probe.Holds(condition); }) || m_sim->Now() >= end;
    verdict.seen = m_probe.Seen(condition) +
                   (verdict.held ? " for " + ms_text(step.ms) : " after " + ms_text(m_sim->Now() - begin));
    RunTo(end);
    return verdict;
}

// Nothing else happens until the restarted firmware runs.
CStepVerdict CMachineSession::ResetCpu(const CScenarioStep& step)
{
    const int before = m_sim->ResetsDone();
    const uint64_t limit = m_sim->Now() + CVirtualSimulator::STOP_LIMIT_MS + 1000;
    m_sim->ResetCpuAt(m_sim->Now());
    CStepVerdict verdict;
    verdict.what = step.Describe();
    verdict.held = RunTo(limit, [this, before] { return m_sim->ResetsDone() > before; });
    if (!verdict.held)
        verdict.seen = "the firmware did not restart";
    return verdict;
}

CStepVerdict CMachineSession::Instant(const CScenarioStep& step)
{
    CStepVerdict verdict;
    verdict.what = step.Describe();
    switch (step.kind) {
    case CScenarioStep::PRESS:
        m_sim->Press(step.point);
        break;
    case CScenarioStep::RELEASE:
        m_sim->Release();
        break;
    case CScenarioStep::EXPECT:
        verdict.held = m_probe.Holds(step.condition);
        verdict.seen = m_probe.Seen(step.condition);
        if (step.condition.kind == CScenarioCondition::BEEPS)
            m_probe.RestartBeepCount();
        break;
    case CScenarioStep::FAULT:
        m_sim->Faults().Set(step.fault);
        break;
    case CScenarioStep::CLEAR:
        if (step.allFaults)
            m_sim->Faults().ClearAll();
        else
            m_sim->Faults().Clear(step.fault);
        break;
    default:
        break;
    }
    return verdict;
}

bool CMachineSession::BeginTrace(const std::string& path, std::string& error)
{
    if (m_vcd) {
        error = "a trace is being written already";
        return false;
    }
    auto recorder = std::make_unique<CTraceRecorder>(&m_sim->View());
    for (const std::string& name : m_traceVariables)
        recorder->AddVariable(name, m_sim->Now());
    auto vcd = std::make_unique<CVcdSink>("trelvik (Python) " TRELVIK_VERSION);
    recorder->AddSink(*vcd, m_sim->Now());
    if (!vcd->Open(path, error))
        return false;
    m_recorder = std::move(recorder);
    m_vcd = std::move(vcd);
    return true;
}

bool CMachineSession::EndTrace(std::string& error)
{
    if (!m_vcd)
        return true;
    m_recorder->Sample(m_sim->Now());
    const bool finished = m_vcd->Finish(m_sim->Now(), error);
    m_recorder.reset();
    m_vcd.reset();
    return finished;
}
