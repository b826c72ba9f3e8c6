#include "scenario/run/scenario_probe.h"

#include "firmware/fw_main.h"
#include "firmware/fw_watch.h"
#include "panel/state_names.h"
#include "scenario/language/panel_names.h"
#include "sim/counting_beep.h"
#include "sim/panel_parts.h"
#include "sim/virtual_simulator.h"

CScenarioProbe::CScenarioProbe(CVirtualSimulator& sim) : m_sim(sim) { RestartBeepCount(); }

void CScenarioProbe::RestartBeepCount() { m_beepBase = CCountingBeep::s_count.load(); }

int CScenarioProbe::BeepsSinceRestart() const { return CCountingBeep::s_count.load() - m_beepBase; }

int64_t CScenarioProbe::Value(const CScenarioCondition& c) const
{
    CSimulatorView& view = m_sim.View();
    switch (c.kind) {
    case CScenarioCondition::STATE:
        return state_number;
    case CScenarioCondition::SIGNAL:
        return sig_read(WIRED_SIGNALS[c.index].signal);
    case CScenarioCondition::LAMP:
        return panel_lamp(view, c.index).m_on.load();
    case CScenarioCondition::MOTOR:
        return panel_motor(view, c.index).m_position.load();
    case CScenarioCondition::BEEPS:
        return BeepsSinceRestart();
    case CScenarioCondition::VAR:
        return fw_variable_value(&fw_variables[c.index]);
    case CScenarioCondition::TIMER:
        return fw_timers[c.index].timer->status == TIMER_RUNNING ? 1 : 0;
    case CScenarioCondition::READOUT:
        break;
    }
    return 0;
}

std::string CScenarioProbe::ReadoutText(int32_t readout) const
{
    CSimulatorView& view = m_sim.View();
    return (readout == READOUT_STATE ? view.m_readoutState : view.m_readoutRunSec).Text();
}

bool CScenarioProbe::Holds(const CScenarioCondition& c)
{
    const bool holds = c.kind == CScenarioCondition::READOUT ? ReadoutText(c.index) == c.text : c.InRange(Value(c));
    return holds != c.negated;
}

std::string CScenarioProbe::Seen(const CScenarioCondition& c)
{
    switch (c.kind) {
    case CScenarioCondition::READOUT:
        return "\"" + ReadoutText(c.index) + "\"";
    case CScenarioCondition::STATE: {
        const int32_t number = static_cast<int32_t>(Value(c));
        return std::to_string(number) + " (" + state_name(number) + ")";
    }
    case CScenarioCondition::LAMP:
        return Value(c) ? "on" : "off";
    case CScenarioCondition::TIMER:
        return Value(c) ? "running" : "idle";
    default:
        return std::to_string(Value(c));
    }
}
