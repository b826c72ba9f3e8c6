#include "sim/plant_fault.h"

#include "sim/panel_parts.h"

const char* const CPlantFault::SWITCH_NAMES[SWITCH_COUNT] = {"DISK_MOT_RS", "DISK_MOT_LS", "OVER_SENSOR_CCW",
                                                             "OVER_SENSOR_CW"};
const port_signal CPlantFault::SWITCH_SIGNALS[SWITCH_COUNT] = {DISK_MOT_RS, DISK_MOT_LS, OVER_SENSOR_CCW,
                                                               OVER_SENSOR_CW};

std::string CPlantFault::Part() const
{
    switch (kind) {
    case STUCK_SWITCH:
        return SWITCH_NAMES[index];
    case JAMMED_MOTOR:
        return std::string("motor ") + MOTOR_NAMES[index];
    case DEAD_HEATER:
        return "heater";
    }
    return {};
}

std::string CPlantFault::Describe() const
{
    switch (kind) {
    case STUCK_SWITCH:
        return Part() + " stuck " + std::to_string(level);
    case JAMMED_MOTOR:
        return Part() + " jammed";
    case DEAD_HEATER:
        return "heater dead";
    }
    return {};
}

std::vector<CPlantFault> CPlantFault::All()
{
    std::vector<CPlantFault> all;
    for (int32_t i = 0; i < SWITCH_COUNT; ++i)
        for (int32_t level = 0; level <= 1; ++level)
            all.push_back({STUCK_SWITCH, i, level});
    for (int32_t i = 0; i < MOTOR_COUNT; ++i)
        all.push_back({JAMMED_MOTOR, i, 0});
    all.push_back({DEAD_HEATER, 0, 0});
    return all;
}

int CPlantFault::SwitchIndex(const std::string& name)
{
    for (int i = 0; i < SWITCH_COUNT; ++i)
        if (name == SWITCH_NAMES[i])
            return i;
    return -1;
}
