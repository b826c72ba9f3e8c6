#pragma once
// The invisible relay between the pin RELAY and the main motor: on turns the
// motor backward (direction 1), off forward (direction 0).

#include "panel/panel_widget.h"

class CMotorWidget;

class CRelayWidget : public CPanelWidget {
public:
    CRelayWidget() = default;  // 0 x 0: never hit, draws nothing

    void SetState(int value) override;

    void SetTarget(CMotorWidget* motor);

    CMotorWidget* m_target = nullptr;  // set once at layout, before the firmware runs
};
