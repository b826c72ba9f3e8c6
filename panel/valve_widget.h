#pragma once
// The water solenoid: an empty pipe when closed, water flowing in two
// alternating pictures while open.

#include "panel/two_frame_widget.h"

class CValveWidget : public CTwoFrameWidget {
public:
    CValveWidget();

    void Draw(CDrawSurface& surface) override;
};
