#include "panel/lamp_widget.h"

#include "panel/picture_ids.h"

namespace {
constexpr int32_t SIZE = 20;
}  // namespace

CLampWidget::CLampWidget() { SetSize(SIZE, SIZE); }

void CLampWidget::SetState(int value) { m_on.store(value ? 1 : 0); }

void CLampWidget::Draw(CDrawSurface& surface)
{
    const bool on = m_on.load() != 0;
    int picture;
    switch (m_colour.load()) {
    case RED:
        picture = on ? PICTURE_LAMP_RED_ON : PICTURE_LAMP_RED_OFF;
        break;
    case GREEN:
        picture = on ? PICTURE_LAMP_GREEN_ON : PICTURE_LAMP_GREEN_OFF;
        break;
    default:
        picture = on ? PICTURE_LAMP_BLUE_ON : PICTURE_LAMP_BLUE_OFF;
        break;
    }
    surface.DrawPicture(picture, m_rect);
    DrawCaptionCentred(surface);
}

void CLampWidget::SetColour(int kind) { m_colour.store(kind); }
