#pragma once
// A fan: two pictures that alternate at every tick while it runs.

#include "panel/panel_widget.h"

class CFanWidget : public CPanelWidget {
public:
    CFanWidget();

    int OnTick() override;
    void SetState(int value) override;
    void Draw(CDrawSurface& surface) override;

    widget_state m_frame{0};
    widget_state m_running{0};
};
