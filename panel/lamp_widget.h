#pragma once
// An LED lamp of the appliance: red, green or blue, lit or dark.

#include "panel/panel_widget.h"

class CLampWidget : public CPanelWidget {
public:
    static constexpr int32_t RED = 2;
    static constexpr int32_t GREEN = 3;
    static constexpr int32_t BLUE = 4;  // and any other colour kind

    CLampWidget();

    void SetState(int value) override;
    void Draw(CDrawSurface& surface) override;

    void SetColour(int kind);

    widget_state m_on{0};
    widget_state m_colour{RED};
};
