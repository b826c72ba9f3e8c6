#pragma once
// The appliance's lid: a click opens or closes it. Open, it stands 40 pixels
// higher than closed with its bottom edge where it was; its switch is the
// pin RUN_KEY.

#include "panel/panel_widget.h"

class CCoverWidget : public CPanelWidget {
public:
    CCoverWidget();

    CRect GetRedrawRect() override;
    int OnMouseDown() override;
    void SetState(int value) override;
    void Draw(CDrawSurface& surface) override;

    widget_state m_open{0};
    // The top of the closed lid, remembered at the first SetState.
    widget_state m_closedTop{0};
    widget_state m_closedTopKnown{0};
};
