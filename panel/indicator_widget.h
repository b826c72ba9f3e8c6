#pragma once
// A small marker beside a motor that turns red while its end-stop switch is
// made; the board sets it from the motor's position.

#include "panel/panel_widget.h"

class CIndicatorWidget : public CPanelWidget {
public:
    CIndicatorWidget();

    void SetState(int value) override;
    void Draw(CDrawSurface& surface) override;

    widget_state m_on{0};
};
