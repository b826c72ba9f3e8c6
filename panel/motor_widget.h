#pragma once
// A motor and the mechanism it drives, which travels between two end stops
// (position 0 and 100) at 2 per tick while the motor turns. The board starts,
// stops and steers it and reads its position for the end-stop switches.

#include "panel/panel_widget.h"

class CMotorWidget : public CPanelWidget {
public:
    static constexpr int32_t FORWARD = 0;   // turns forward, travels towards 100
    static constexpr int32_t BACKWARD = 1;  // turns backward, travels towards 0

    CMotorWidget();

    int OnTick() override;
    void SetState(int value) override;
    void Draw(CDrawSurface& surface) override;

    void SetDirection(int value);
    void StartMotor(int direction);
    void StopMotor();

    widget_state m_direction{FORWARD};
    widget_state m_frame{0};
    widget_state m_running{0};
    widget_state m_position{50};
    // A plant fault of the simulator in virtual time: while set, the motor is
    // driven but stands still, its position and picture frozen. The window
    // program never sets it.
    widget_state m_jammed{0};
};
