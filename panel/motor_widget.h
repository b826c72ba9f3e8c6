#pragma once
// A motor and the mechanism it drives, which travels between two end stops
// (position 0 and 100) at 2 per tick while the motor turns. The board starts,
// stops and steers it and reads its position for the end-stop switches.

#include "panel/panel_widget.h"

class CMotorWidget : public CPanelWidget {
public:
    static constexpr int32_t FORWARD = 0;   // turns forward, travels towards 100
    static constexpr int32_t BACKWARD = 1;  // turns backward, travels towards 0
    // The mechanism's travel: from the middle, 2 per 100 ms tick between the
    // two end stops, so middle to an end in 2.5 s and end to end in 5 s.
    static constexpr int32_t END_LOW = 0;
    static constexpr int32_t END_HIGH = 100;
    static constexpr int32_t START_POSITION = 50;
    static constexpr int32_t STEP_PER_TICK = 2;

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
    widget_state m_position{START_POSITION};
};
