#pragma once
// A line of text showing a firmware number, centred on the widget's 1 x 1
// anchor: the bare number, "caption: number", or, with state names on,
// "caption: number (name)".

#include <string>

#include "panel/panel_widget.h"

class CReadoutWidget : public CPanelWidget {
public:
    CReadoutWidget();

    void SetState(int value) override;
    void Draw(CDrawSurface& surface) override;

    // The line as it is drawn now.
    std::string Text() const;

    widget_state m_value{0};
    widget_state m_showStateName{0};
};
