#pragma once
// A fixed picture on the panel, of the size given with it (the operating hints).

#include "panel/panel_widget.h"

class CPictureWidget : public CPanelWidget {
public:
    CPictureWidget() = default;  // 0 x 0 until SetPicture

    void Draw(CDrawSurface& surface) override;

    // Called after Place: the picture's size extends the rectangle from its top-left.
    void SetPicture(int id, int width, int height);

    widget_state m_pictureId{0};  // only the low 16 bits name the picture
};
