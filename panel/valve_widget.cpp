#include "panel/valve_widget.h"

#include "panel/picture_ids.h"

namespace {
constexpr int32_t WIDTH = 48;
constexpr int32_t HEIGHT = 15;
}  // namespace

CValveWidget::CValveWidget() { SetSize(WIDTH, HEIGHT); }

void CValveWidget::Draw(CDrawSurface& surface)
{
    int picture = PICTURE_VALVE_IDLE;
    if (m_running.load())
        picture = ShowsSecondFrame() ? PICTURE_VALVE_FRAME_1 : PICTURE_VALVE_FRAME_0;
    surface.DrawPicture(picture, m_rect);
    DrawCaptionAbove(surface);
}
