#pragma once
// A fan: two pictures that alternate at every tick while it runs.

#include "panel/two_frame_widget.h"

class CFanWidget : public CTwoFrameWidget {
public:
    CFanWidget();

    void Draw(CDrawSurface& surface) override;
};
