#pragma once
// The heater: a box that fills with red from the bottom, one pixel every five
// ticks (500 ms), while the heater is on. The board reads the filled height
// back as the heater's warmth.

#include "panel/panel_widget.h"

class CGaugeWidget : public CPanelWidget {
public:
    static constexpr int32_t TICKS_PER_STEP = 5;  // one pixel warmer every 500 ms
    static constexpr int32_t HEIGHT = 50;         // full: the warmest the heater gets
    // The warmth the firmware reads per pixel of the level (800 when full).
    static constexpr int32_t READING_PER_LEVEL = 16;

    CGaugeWidget();

    int OnTick() override;
    int GetValue() override;
    void SetState(int value) override;
    void Draw(CDrawSurface& surface) override;

    widget_state m_on{0};
    widget_state m_level{0};  // filled height in pixels, 0 to the widget's height
    // Ticks towards the next step, shared by all gauges; only OnTick touches it.
    static widget_state s_tickCount;
};
