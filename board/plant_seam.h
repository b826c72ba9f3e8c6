#pragma once
// The plant's one seam: the questions whose answers a broken appliance would
// change. What an end switch reports, whether a motor's mechanism moves when
// the motor turns, whether the heater warms its gauge. The window program
// never installs one; the simulator in virtual time installs its plant faults
// while any is in force, so a healthy plant costs one null check per question.

#include <atomic>

#include "board/port_bytes.h"

class CPanelWidget;

class CPlantSeam {
public:
    virtual ~CPlantSeam() = default;
    // The physical level `input` reads, given `level` from the motor's position.
    virtual bool EndLevel(port_signal input, bool level) const = 0;
    // Whether the mechanism of this motor widget moves while the motor turns.
    virtual bool Travels(const CPanelWidget& motor) const = 0;
    // Whether the heater warms the gauge while it is on.
    virtual bool Warms() const = 0;
};

// The seam in force, or null.
extern std::atomic<const CPlantSeam*> g_pPlant;

inline bool plant_end_level(port_signal input, bool level)
{
    const CPlantSeam* plant = g_pPlant.load(std::memory_order_acquire);
    return plant ? plant->EndLevel(input, level) : level;
}

inline bool plant_travels(const CPanelWidget& motor)
{
    const CPlantSeam* plant = g_pPlant.load(std::memory_order_acquire);
    return !plant || plant->Travels(motor);
}

inline bool plant_warms()
{
    const CPlantSeam* plant = g_pPlant.load(std::memory_order_acquire);
    return !plant || plant->Warms();
}
