#pragma once
// The appliance's drawer: a click pulls it out 100 pixels to the right or
// pushes it back in; its switch is the pin DRAWER.

#include "panel/panel_widget.h"

class CDrawerWidget : public CPanelWidget {
public:
    CDrawerWidget();

    CRect GetRedrawRect() override;
    int OnMouseDown() override;
    void SetState(int value) override;
    void Draw(CDrawSurface& surface) override;

    widget_state m_open{0};
};
