#include "scenario/scenario_signals.h"

#include "sim/virtual_simulator.h"

// clang-format off
// The wired signals in the board's order.
const CScenarioSignal SCENARIO_SIGNALS[SCENARIO_SIGNAL_COUNT] = {
    {"RED_LED", RED_LED},                  {"DISK_MOT_RS", DISK_MOT_RS},          {"DISK_MOT_LS", DISK_MOT_LS},
    {"WATER_SOL", WATER_SOL},              {"HEATER", HEATER},                    {"DISK_MOT_A", DISK_MOT_A},
    {"DISK_MOT_B", DISK_MOT_B},            {"EXIT_MOT_A", EXIT_MOT_A},            {"EXIT_MOT_B", EXIT_MOT_B},
    {"RUN_KEY", RUN_KEY},                  {"MAIN_MOTOR", MAIN_MOTOR},            {"BUZZER", BUZZER},
    {"RELAY", RELAY},                      {"OVER_SENSOR_CCW", OVER_SENSOR_CCW},  {"OVER_SENSOR_CW", OVER_SENSOR_CW},
    {"SOL_VALVE", SOL_VALVE},              {"DRAWER", DRAWER},                    {"FAN_ENCODER", FAN_ENCODER},
    {"SDA", SDA},                          {"SCL", SCL},                          {"MAIN_FAN", MAIN_FAN},
    {"GREEN_LED", GREEN_LED},              {"BLUE_LED", BLUE_LED},                {"HEATER_FAN", HEATER_FAN},
    {"TEMP_HEATER", TEMP_HEATER},          {"POWER_ON_OFF", POWER_ON_OFF},        {"COOLING_FAN", COOLING_FAN},
};
// clang-format on

// The cover's point lies in both its closed and its opened rectangle, the
// drawer's in both positions of the drawer.
const CScenarioInput SCENARIO_INPUTS[SCENARIO_INPUT_COUNT] = {
    {"전원", "power", CVirtualSimulator::POWER_KEY},
    {"수동세척", "wash", CVirtualSimulator::WASH_KEY},
    {"커버", "cover", CVirtualSimulator::COVER},
    {"서랍", "drawer", CVirtualSimulator::DRAWER},
};

const char* const SCENARIO_LAMPS[3] = {"red", "green", "blue"};
const char* const SCENARIO_MOTORS[3] = {"disk", "exit", "main"};
const char* const SCENARIO_READOUTS[2] = {"state", "run_sec"};

int scenario_signal_index(const std::string& name)
{
    for (int i = 0; i < SCENARIO_SIGNAL_COUNT; ++i)
        if (name == SCENARIO_SIGNALS[i].name)
            return i;
    return -1;
}

int scenario_input_index(const std::string& captionOrRole)
{
    for (int i = 0; i < SCENARIO_INPUT_COUNT; ++i)
        if (captionOrRole == SCENARIO_INPUTS[i].caption || captionOrRole == SCENARIO_INPUTS[i].role)
            return i;
    return -1;
}

int scenario_name_index(const char* const* names, int count, const std::string& name)
{
    for (int i = 0; i < count; ++i)
        if (name == names[i])
            return i;
    return -1;
}
