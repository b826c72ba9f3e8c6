#include "sim/panel_parts.h"

#include "app/core/simulator_view.h"

const char* const LAMP_NAMES[LAMP_COUNT] = {"red", "green", "blue"};
const char* const MOTOR_NAMES[MOTOR_COUNT] = {"disk", "exit", "main"};

CLampWidget& panel_lamp(CSimulatorView& view, int32_t lamp)
{
    CLampWidget* const lamps[LAMP_COUNT] = {&view.m_lampRed, &view.m_lampGreen, &view.m_lampBlue};
    return *lamps[lamp];
}

CMotorWidget& panel_motor(CSimulatorView& view, int32_t motor)
{
    CMotorWidget* const motors[MOTOR_COUNT] = {&view.m_motorDisk, &view.m_motorExit, &view.m_motorMain};
    return *motors[motor];
}
