#include "panel/body_widget.h"

#include "panel/picture_ids.h"

namespace {
constexpr int32_t WIDTH = 161;
constexpr int32_t HEIGHT = 121;
}  // namespace

CBodyWidget::CBodyWidget()
{
    SetSize(WIDTH, HEIGHT);
    m_pinDriven = 0;
}

void CBodyWidget::Draw(CDrawSurface& surface)
{
    surface.DrawPicture(PICTURE_BODY, m_rect);
    DrawCaptionCentred(surface);
}
