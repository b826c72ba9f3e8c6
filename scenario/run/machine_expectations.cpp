#include "scenario/run/machine_expectations.h"

#include "firmware/fw_watch.h"
#include "panel/state_names.h"
#include "scenario/language/panel_names.h"
#include "sim/panel_parts.h"
#include "sim/virtual_simulator.h"

namespace {

// The lines the firmware drives, in the board's order.
const port_signal OUTPUTS[] = {RED_LED,    WATER_SOL, HEATER,   DISK_MOT_A, DISK_MOT_B, EXIT_MOT_A, EXIT_MOT_B,
                               MAIN_MOTOR, RELAY,     MAIN_FAN, GREEN_LED,  BLUE_LED,   HEATER_FAN, COOLING_FAN};

bool is_output(port_signal signal)
{
    for (const port_signal& output : OUTPUTS)
        if (output == signal)
            return true;
    return false;
}

}  // namespace

std::string CMachineExpectations::Text(CVirtualSimulator& sim)
{
    std::string text;
    const char* name = state_name(fw_variable_read(fw_variable_find("state_number")));
    if (name[0] != '\0')
        text += std::string("expect state ") + name + "\n";
    CSimulatorView& view = sim.View();
    for (int32_t lamp = 0; lamp < LAMP_COUNT; ++lamp)
        text += std::string("expect lamp ") + LAMP_NAMES[lamp] + (panel_lamp(view, lamp).m_on.load() ? " on" : " off") +
                "\n";
    for (const CWiredSignal& row : WIRED_SIGNALS)
        if (is_output(row.signal))
            text += std::string("expect signal ") + row.name + " " + std::to_string(sig_read(row.signal)) + "\n";
    for (int32_t motor = 0; motor < MOTOR_COUNT; ++motor)
        text += std::string("expect motor ") + MOTOR_NAMES[motor] + " " +
                std::to_string(panel_motor(view, motor).m_position.load()) + "\n";
    return text;
}
