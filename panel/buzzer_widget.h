#pragma once
// The buzzer: one beep per request, and the sounding picture for the next
// 10 ticks (1 s), during which further requests are ignored.

#include "panel/panel_widget.h"

class CBuzzerWidget : public CPanelWidget {
public:
    static constexpr int32_t SOUNDING_TICKS = 10;

    CBuzzerWidget();

    int OnTick() override;
    void SetState(int value) override;
    void Draw(CDrawSurface& surface) override;

    widget_state m_sounding{0};
    widget_state m_countdown{0};
};
