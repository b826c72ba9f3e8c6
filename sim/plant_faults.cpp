#include "sim/plant_faults.h"

#include "app/core/simulator_view.h"

CPlantFaults::CPlantFaults(CSimulatorView& view) : m_view(view)
{
    for (std::atomic<int32_t>& level : m_stuck)
        level.store(FREE);
}

CPlantFaults::~CPlantFaults() { ClearAll(); }

// Installed while any fault is in force; taken away only if it is still ours.
void CPlantFaults::InstallSeam()
{
    if (!Active().empty()) {
        g_pPlant.store(this, std::memory_order_release);
        return;
    }
    const CPlantSeam* self = this;
    g_pPlant.compare_exchange_strong(self, nullptr, std::memory_order_acq_rel);
}

void CPlantFaults::Set(const CPlantFault& fault)
{
    switch (fault.kind) {
    case CPlantFault::STUCK_SWITCH:
        m_stuck[fault.index].store(fault.level ? 1 : 0);
        break;
    case CPlantFault::JAMMED_MOTOR:
        m_jammed[fault.index].store(true);
        break;
    case CPlantFault::DEAD_HEATER:
        m_dead.store(true);
        m_view.m_gaugeHeater.m_level.store(0);  // no warmth left to read, even if cleared before the next tick
        break;
    }
    InstallSeam();
}

void CPlantFaults::Clear(const CPlantFault& fault)
{
    switch (fault.kind) {
    case CPlantFault::STUCK_SWITCH:
        m_stuck[fault.index].store(FREE);
        break;
    case CPlantFault::JAMMED_MOTOR:
        m_jammed[fault.index].store(false);
        break;
    case CPlantFault::DEAD_HEATER:
        m_dead.store(false);
        break;
    }
    InstallSeam();
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
        return m_jammed[fault.index].load();
    case CPlantFault::DEAD_HEATER:
        return m_dead.load();
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

bool CPlantFaults::EndLevel(port_signal input, bool level) const
{
    for (int i = 0; i < CPlantFault::SWITCH_COUNT; ++i) {
        if (CPlantFault::SWITCH_SIGNALS[i] == input) {
            const int32_t held = m_stuck[i].load();
            return held == FREE ? level : held != 0;
        }
    }
    return level;
}

bool CPlantFaults::Travels(const CPanelWidget& motor) const
{
    for (int32_t m = 0; m < MOTOR_COUNT; ++m)
        if (&motor == &panel_motor(m_view, m))
            return !m_jammed[m].load();
    return true;
}

bool CPlantFaults::Warms() const { return !m_dead.load(); }
