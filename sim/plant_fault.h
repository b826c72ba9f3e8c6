#pragma once
// One fault of the plant, as a scenario or a menu names it: an end switch
// stuck at a physical level, a motor jammed, the heater dead.

#include <cstdint>
#include <string>
#include <vector>

#include "board/port_bytes.h"

struct CPlantFault {
    enum Kind : int32_t { STUCK_SWITCH, JAMMED_MOTOR, DEAD_HEATER };

    // The end switches a fault can hold, by their signal names.
    static constexpr int SWITCH_COUNT = 4;
    static const char* const SWITCH_NAMES[SWITCH_COUNT];  // DISK_MOT_RS, DISK_MOT_LS, OVER_SENSOR_CCW, OVER_SENSOR_CW
    static const port_signal SWITCH_SIGNALS[SWITCH_COUNT];

    Kind kind = STUCK_SWITCH;
    int32_t index = 0;  // STUCK_SWITCH: row of SWITCH_NAMES; JAMMED_MOTOR: MOTOR_* (sim/panel_parts.h)
    int32_t level = 0;  // STUCK_SWITCH: the level held, 0 or 1

    // As a scenario writes it after "fault": "DISK_MOT_LS stuck 1", "motor exit jammed", "heater dead".
    std::string Describe() const;
    // The part alone, as a scenario writes it after "clear": "DISK_MOT_LS", "motor exit", "heater".
    std::string Part() const;

    // Every fault there is, switches first (each at 0, then 1), then the motors, then the heater.
    static std::vector<CPlantFault> All();
    // The row of a switch name, or -1.
    static int SwitchIndex(const std::string& name);
};
