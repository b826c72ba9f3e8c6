#pragma once
// The water solenoid: an empty pipe when closed, water flowing in two
// alternating pictures while open.

#include "panel/panel_widget.h"

class CValveWidget : public CPanelWidget {
public:
    CValveWidget();

    int OnTick() override;
    void SetState(int value) override;
    void Draw(CDrawSurface& surface) override;

    widget_state m_frame{0};
    widget_state m_running{0};
};
