#pragma once
// The heater: a box that fills with red from the bottom, one pixel every five
// ticks (500 ms), while the heater is on. The board reads the filled height
// back as the heater's warmth.

#include "panel/panel_widget.h"

class CGaugeWidget : public CPanelWidget {
public:
    static constexpr int32_t TICKS_PER_STEP = 5;

    CGaugeWidget();

    int OnTick() override;
    int GetValue() override;
    void SetState(int value) override;
    void Draw(CDrawSurface& surface) override;

    widget_state m_on{0};
    widget_state m_level{0};  // filled height in pixels, 0 to the widget's height
    // A plant fault of the simulator in virtual time: while set, the heater
    // does not warm and the gauge does not fill. The window program never sets it.
    widget_state m_dead{0};
    // Ticks towards the next step, shared by all gauges; only OnTick touches it.
    static widget_state s_tickCount;
};
