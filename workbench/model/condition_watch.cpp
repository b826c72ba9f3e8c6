#include "workbench/model/condition_watch.h"

#include "scenario/language/line_words.h"
#include "scenario/language/scenario_conditions.h"
#include "scenario/run/scenario_probe.h"
#include "workbench/model/workbench_session.h"

bool CConditionWatch::Parse(const std::string& text, CScenarioCondition& condition, std::string& reason)
{
    try {
        CLineWords words(scenario_tokenize(text), "CONDITION (state, signal, readout, lamp, motor, beeps, var, timer)");
        condition = scenario_parse_condition(words);
        return true;
    } catch (const CLineError& error) {
        reason = error.what();
        return false;
    }
}

CConditionWatch::CConditionWatch(CWorkbenchSession& session, CScenarioCondition condition)
    : m_session(session), m_condition(std::move(condition))
{
    Probe();
}

CConditionWatch::~CConditionWatch() = default;

// A replay that lands on a failure starts a fresh simulator: look at that one.
CScenarioProbe& CConditionWatch::Probe()
{
    if (!m_probe || m_sim != &m_session.Sim()) {
        m_sim = &m_session.Sim();
        m_probe = std::make_unique<CScenarioProbe>(*m_sim);
    }
    return *m_probe;
}

bool CConditionWatch::Holds() { return Probe().Holds(m_condition); }

std::string CConditionWatch::Seen() { return Probe().Seen(m_condition); }
