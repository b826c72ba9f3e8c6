#pragma once
// A push button. A momentary key is down while the mouse button is held on
// it; a latching key goes down at one release and up at the next.

#include "panel/panel_widget.h"

class CKeyWidget : public CPanelWidget {
public:
    static constexpr int32_t RELEASED = 0;
    static constexpr int32_t HELD = 1;     // momentary key, mouse button down
    static constexpr int32_t LATCHED = 2;  // latching key, down until the next click

    CKeyWidget();

    int OnMouseUp() override;
    int OnMouseDown() override;
    void Draw(CDrawSurface& surface) override;

    void SetLatching(int latching);

    widget_state m_pressed{RELEASED};
    widget_state m_latching{0};

private:
    void Press(int32_t pressed, uint8_t logical);
};
