#include "panel/fan_widget.h"

#include "panel/picture_ids.h"

namespace {
constexpr int32_t SIZE = 35;
}  // namespace

CFanWidget::CFanWidget() { SetSize(SIZE, SIZE); }

void CFanWidget::Draw(CDrawSurface& surface)
{
    surface.DrawPicture(ShowsSecondFrame() ? PICTURE_FAN_FRAME_1 : PICTURE_FAN_FRAME_0, m_rect);
    DrawCaptionAbove(surface);
}
