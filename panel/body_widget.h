#pragma once
// The appliance's body between the cover and the drawer, with its caption on it.

#include "panel/panel_widget.h"

class CBodyWidget : public CPanelWidget {
public:
    CBodyWidget();

    void Draw(CDrawSurface& surface) override;
};
