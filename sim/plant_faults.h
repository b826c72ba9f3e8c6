#pragma once
// The plant faults in force on one assembled panel, answering the plant's
// seam (board/plant_seam.h). A fault is set at the present virtual time and
// lasts until it is cleared; "Reset CPU" does not mend the plant.
// - a stuck end switch: the board's exchange holds that input at its level
//   whatever the motor's position says, and the end-stop indicator shows
//   what the firmware reads;
// - a jammed motor: driven, it stands still, position and picture frozen;
// - a dead heater: the gauge is emptied and does not fill, so the firmware
//   reads heater_reading 0 while HEATER is on.
// The seam is installed only while some fault is in force, so a healthy plant
// costs one null check per question.
//
// Set and clear between runs of the lockstep (or from inside its callbacks);
// every field the firmware's side reads is atomic.

#include <atomic>
#include <string>
#include <vector>

#include "board/plant_seam.h"
#include "sim/panel_parts.h"
#include "sim/plant_fault.h"

class CSimulatorView;

class CPlantFaults : public CPlantSeam {
public:
    explicit CPlantFaults(CSimulatorView& view);
    ~CPlantFaults() override;  // takes every fault away

    // A stuck switch set again takes the new level.
    void Set(const CPlantFault& fault);
    // Clears whatever fault the fault's part has (a switch's level does not matter).
    void Clear(const CPlantFault& fault);
    void ClearAll();

    // The faults in force, in the order of CPlantFault::All().
    std::vector<CPlantFault> Active() const;
    // Whether exactly this fault is in force (a stuck switch at this level).
    bool IsActive(const CPlantFault& fault) const;
    // The faults in force as a scenario writes them, joined by ", ": "DISK_MOT_LS stuck 1,
    // heater dead"; empty when the plant is healthy.
    std::string Describe() const;

    bool EndLevel(port_signal input, bool level) const override;
    bool Travels(const CPanelWidget& motor) const override;
    bool Warms() const override;

    CPlantFaults(const CPlantFaults&) = delete;
    CPlantFaults& operator=(const CPlantFaults&) = delete;

private:
    static constexpr int32_t FREE = -1;

    void InstallSeam();

    CSimulatorView& m_view;
    std::atomic<int32_t> m_stuck[CPlantFault::SWITCH_COUNT];  // the level held, or FREE
    std::atomic<bool> m_jammed[MOTOR_COUNT] = {};
    std::atomic<bool> m_dead{false};
};
