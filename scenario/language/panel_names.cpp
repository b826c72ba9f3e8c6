#include "scenario/language/panel_names.h"

#include "sim/virtual_simulator.h"

// The cover's point lies in both its closed and its opened rectangle, the
// drawer's in both positions of the drawer.
const CScenarioInput SCENARIO_INPUTS[SCENARIO_INPUT_COUNT] = {
    {"전원", "power", CVirtualSimulator::POWER_KEY},
    {"수동세척", "wash", CVirtualSimulator::WASH_KEY},
    {"커버", "cover", CVirtualSimulator::COVER},
    {"서랍", "drawer", CVirtualSimulator::DRAWER},
};

const char* const SCENARIO_READOUTS[2] = {"state", "run_sec"};

int scenario_input_index(const std::string& captionOrRole)
{
    for (int i = 0; i < SCENARIO_INPUT_COUNT; ++i)
        if (captionOrRole == SCENARIO_INPUTS[i].caption || captionOrRole == SCENARIO_INPUTS[i].role)
            return i;
    return -1;
}
