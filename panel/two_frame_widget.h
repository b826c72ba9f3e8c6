#pragma once
// A part animated by two pictures that alternate at every tick while it runs:
// the fans and the water valve. Every start, also of a part already running,
// begins at frame 0.

#include "panel/panel_widget.h"

class CTwoFrameWidget : public CPanelWidget {
public:
    int OnTick() override;
    void SetState(int value) override;

    widget_state m_frame{0};
    widget_state m_running{0};

protected:
    // Running and showing its second picture.
    bool ShowsSecondFrame() const { return m_running.load() && m_frame.load() == 1; }
};
