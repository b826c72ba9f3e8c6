#include "scenario/run/scenario_executor.h"

#include <algorithm>

#include "scenario/run/png_snapshot.h"
#include "sim/virtual_simulator.h"

namespace {

// The phases of the steps that take time.
enum : int { BEGIN = 0, HOLDING = 1, FAILED_ONCE = 1, RESTARTING = 1 };

uint64_t add_saturating(uint64_t a, uint64_t b) { return a > UINT64_MAX - b ? UINT64_MAX : a + b; }

std::string ms_text(uint64_t ms) { return std::to_string(ms) + " ms"; }

}  // namespace

CScenarioExecutor::CScenarioExecutor(CVirtualSimulator& sim, std::vector<CScenarioStep> steps)
    : m_sim(sim), m_steps(std::move(steps)), m_probe(sim)
{
}

bool CScenarioExecutor::Advance(uint64_t budgetMs)
{
    m_sim.Startup();
    m_stopped = false;
    m_budgetEnd = add_saturating(m_sim.Now(), budgetMs);
    while (!Finished()) {
        if (!m_begun) {
            m_begun = true;
            m_phase = BEGIN;
            m_begin = m_sim.Now();
        }
        if (!Continue(m_steps[m_next]))
            return true;  // the slice ended inside the step
        m_begun = false;
        ++m_next;
    }
    return false;
}

void CScenarioExecutor::RunToEnd()
{
    while (Advance(UINT64_MAX) && !m_stopped) {
    }
}

bool CScenarioExecutor::Continue(const CScenarioStep& step)
{
    switch (step.kind) {
    case CScenarioStep::WAIT:
        return Wait(m_begin + step.ms);
    case CScenarioStep::CLICK:
        return Click(step);
    case CScenarioStep::RUN_UNTIL:
        return RunUntil(step);
    case CScenarioStep::EXPECT_FOR:
        return ExpectFor(step);
    case CScenarioStep::RESET_CPU:
        return ResetCpu(step);
    default:
        Instant(step);
        return true;
    }
}

// Runs until limitMs or until `done` holds, whichever comes first, unless
// told to stop before; true when `done` held.
bool CScenarioExecutor::RunTo(uint64_t limitMs, const std::function<bool()>& done)
{
    if (!m_stop)
        return m_sim.RunUntil(limitMs, done);
    bool held = false;
    m_sim.RunUntil(limitMs, [&] {
        held = done && done();
        m_stopped = !held && m_stop();
        return held || m_stopped;
    });
    return held;
}

// Runs toward endMs as far as the slice allows; true once there.
bool CScenarioExecutor::Wait(uint64_t endMs)
{
    RunTo(std::min(endMs, m_budgetEnd));
    return m_sim.Now() >= endMs;
}

// A click where the last one was waits until the key has been up long
// enough for the firmware to see the release: two clicks, not one long press.
bool CScenarioExecutor::Click(const CScenarioStep& step)
{
    if (m_phase == BEGIN) {
        const bool again = m_clicked && step.point.x == m_clickPoint.x && step.point.y == m_clickPoint.y;
        if (again && !Wait(m_releasedAt + CScenarioStep::RELEASE_GAP_MS))
            return false;
        m_sim.Press(step.point);
        m_phaseEnd = m_sim.Now() + step.ms;
        m_phase = HOLDING;
    }
    if (!Wait(m_phaseEnd))
        return false;
    m_sim.Release();
    m_clicked = true;
    m_clickPoint = step.point;
    m_releasedAt = m_sim.Now();
    return true;
}

bool CScenarioExecutor::RunUntil(const CScenarioStep& step)
{
    const CScenarioCondition& condition = step.condition;
    const uint64_t limit = m_begin + step.ms;
    const bool held = RunTo(std::min(limit, m_budgetEnd), [this, &condition] { return Holds(condition); });
    if (!held && m_sim.Now() < limit)
        return false;
    if (!held) {
        Report(step, false, m_probe.Seen(condition) + ", the limit passed");
        return true;
    }
    const uint64_t elapsed = m_sim.Now() - m_begin;
    const bool early = elapsed < step.afterMs;
    Report(step, !early,
           m_probe.Seen(condition) + " after " + ms_text(elapsed) + (early ? ", before " + ms_text(step.afterMs) : ""));
    return true;
}

// The condition is watched at every ms from the step's start up to, not
// including, its end; the first ms it fails is reported, and time runs on
// to the end either way.
bool CScenarioExecutor::ExpectFor(const CScenarioStep& step)
{
    const CScenarioCondition& condition = step.condition;
    const uint64_t end = m_begin + step.ms;
    if (m_phase == BEGIN) {
        const bool failed = RunTo(std::min(end, m_budgetEnd), [this, &condition] { return !Holds(condition); });
        if (failed && m_sim.Now() < end) {
            Report(step, false, m_probe.Seen(condition) + " after " + ms_text(m_sim.Now() - m_begin));
            m_phase = FAILED_ONCE;
        } else if (m_sim.Now() < end) {
            return false;
        } else {
            Report(step, true, m_probe.Seen(condition) + " for " + ms_text(step.ms));
            return true;
        }
    }
    return Wait(end);
}

// As the window's "Reset CPU": nothing else happens until the restarted
// firmware runs, so the next step comes after the stop.
bool CScenarioExecutor::ResetCpu(const CScenarioStep& step)
{
    if (m_phase == BEGIN) {
        m_marker = m_sim.ResetsDone();
        m_sim.ResetCpuAt(m_sim.Now());
        m_phase = RESTARTING;
    }
    const uint64_t limit = m_begin + CVirtualSimulator::STOP_LIMIT_MS + 1000;
    const int before = m_marker;
    const bool restarted = RunTo(std::min(limit, m_budgetEnd), [this, before] { return m_sim.ResetsDone() > before; });
    if (!restarted && m_sim.Now() < limit)
        return false;
    if (!restarted)
        Report(step, false, "the firmware did not restart");
    return true;
}

void CScenarioExecutor::Instant(const CScenarioStep& step)
{
    switch (step.kind) {
    case CScenarioStep::PRESS:
        m_sim.Press(step.point);
        break;
    case CScenarioStep::RELEASE:
        m_sim.Release();
        break;
    case CScenarioStep::EXPECT: {
        const bool held = Holds(step.condition);
        Report(step, held, m_probe.Seen(step.condition));
        if (step.condition.kind == CScenarioCondition::BEEPS)
            m_probe.RestartBeepCount();
        break;
    }
    case CScenarioStep::SNAPSHOT: {
        std::string error;
        if (!CPngSnapshot::Save(m_sim, step.path, error))
            ReportError(step, error);
        break;
    }
    case CScenarioStep::FAULT:
        m_sim.Faults().Set(step.fault);
        break;
    case CScenarioStep::CLEAR:
        if (step.allFaults)
            m_sim.Faults().ClearAll();
        else
            m_sim.Faults().Clear(step.fault);
        break;
    default:
        break;
    }
}

void CScenarioExecutor::Report(const CScenarioStep& step, bool held, const std::string& seen)
{
    held ? ++m_passed : ++m_failed;
    m_results.push_back(CScenarioResult{step.line, m_sim.Now(), held, false, step.Describe(), seen});
    if (m_onResult)
        m_onResult(m_results.back());
}

void CScenarioExecutor::ReportError(const CScenarioStep& step, const std::string& reason)
{
    ++m_errors;
    m_results.push_back(CScenarioResult{step.line, m_sim.Now(), false, true, step.Describe(), reason});
    if (m_onResult)
        m_onResult(m_results.back());
}
