#include "sim/plant_faults.h"

#include "app/core/simulator_view.h"
#include "sim/panel_parts.h"

CPlantFaults::CPlantFaults(CSimulatorView& view) : m_view(view)
{
    for (std::atomic<int32_t>& level : m_stuck)
        level.store(FREE);
}

CPlantFaults::~CPlantFaults() { ClearAll(); }

std::atomic<int32_t>& CPlantFaults::MotorFlag(int32_t motor) const { return panel_motor(m_view, motor).m_jammed; }

// The board asks only while some switch is stuck.
void CPlantFaults::InstallSeam()
{
    bool anyStuck = false;
    for (const std::atomic<int32_t>& level : m_stuck)
        anyStuck = anyStuck || level.load() != FREE;
    m_view.m_board.m_pEndSwitches.store(anyStuck ? this : nullptr);
}

void CPlantFaults::Set(const CPlantFault& fault)
{
    switch (fault.kind) {
    case CPlantFault::STUCK_SWITCH:
        m_stuck[fault.index].store(fault.level ? 1 : 0);
        InstallSeam();
        break;
    case CPlantFault::JAMMED_MOTOR:
        MotorFlag(fault.index).store(1);
        break;
    case CPlantFault::DEAD_HEATER:
        m_view.m_gaugeHeater.m_dead.store(1);
        m_view.m_gaugeHeater.m_level.store(0);  // no warmth left to read
        break;
    }
}

void CPlantFaults::Clear(const CPlantFault& fault)
{
    switch (fault.kind) {
    case CPlantFault::STUCK_SWITCH:
        m_stuck[fault.index].store(FREE);
        InstallSeam();
        break;
    case CPlantFault::JAMMED_MOTOR:
        MotorFlag(fault.index).store(0);
        break;
    case CPlantFault::DEAD_HEATER:
        m_view.m_gaugeHeater.m_dead.store(0);
        break;
    }
}

void CPlantFaults::ClearAll()
{
    for (const CPlantFault& fault : CPlantFault::All())
        Clear(fault);
}

bool CPlantFaults::IsActive(const CPlantFault& fault) const
{
    switch (fault.kind) {
    case CPlantFault::STUCK_SWITCH:
        return m_stuck[fault.index].load() == (fault.level ? 1 : 0);
    case CPlantFault::JAMMED_MOTOR:
        return MotorFlag(fault.index).load() != 0;
    case CPlantFault::DEAD_HEATER:
        return m_view.m_gaugeHeater.m_dead.load() != 0;
    }
    return false;
}

std::vector<CPlantFault> CPlantFaults::Active() const
{
    std::vector<CPlantFault> active;
    for (const CPlantFault& fault : CPlantFault::All())
        if (IsActive(fault))
            active.push_back(fault);
    return active;
}

std::string CPlantFaults::Describe() const
{
    std::string text;
    for (const CPlantFault& fault : Active())
        text += (text.empty() ? "" : ", ") + fault.Describe();
    return text;
}

bool CPlantFaults::Level(port_signal input, bool level) const
{
    for (int i = 0; i < CPlantFault::SWITCH_COUNT; ++i) {
        if (CPlantFault::SWITCH_SIGNALS[i] == input) {
            const int32_t held = m_stuck[i].load();
            return held == FREE ? level : held != 0;
        }
    }
    return level;
}
