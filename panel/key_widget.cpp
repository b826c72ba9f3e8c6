#include "panel/key_widget.h"

#include "board/port_pin.h"
#include "panel/picture_ids.h"

namespace {
constexpr int32_t WIDTH = 24;
constexpr int32_t HEIGHT = 23;
}  // namespace

CKeyWidget::CKeyWidget()
{
    SetSize(WIDTH, HEIGHT);
    m_pinDriven = 0;
}

int CKeyWidget::OnMouseUp()
{
    if (!m_latching.load())
        Press(RELEASED, 0);
    else if (m_pressed.load() == LATCHED)
        Press(RELEASED, 0);
    else
        Press(LATCHED, 1);
    return 1;
}

// A latching key changes only when the button comes up again.
int CKeyWidget::OnMouseDown()
{
    if (!m_latching.load())
        Press(HELD, 1);
    return 1;
}

void CKeyWidget::Draw(CDrawSurface& surface)
{
    surface.DrawPicture(m_pressed.load() ? PICTURE_KEY_DOWN : PICTURE_KEY_UP, m_rect);
    DrawCaptionAbove(surface);
}

void CKeyWidget::SetLatching(int latching) { m_latching.store(latching); }

void CKeyWidget::Press(int32_t pressed, uint8_t logical)
{
    m_pressed.store(pressed);
    if (m_pin)
        m_pin->Write(logical);
}
