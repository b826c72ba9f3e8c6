#include "panel/drawer_widget.h"

#include "panel/picture_ids.h"

namespace {
constexpr int32_t CLOSED_WIDTH = 161;
constexpr int32_t OPEN_WIDTH = 261;
constexpr int32_t HEIGHT = 21;
}  // namespace

CDrawerWidget::CDrawerWidget()
{
    SetSize(CLOSED_WIDTH, HEIGHT);
    m_pinDriven = 0;
}

// The area of the pulled-out drawer, which also holds the pushed-in one.
CRect CDrawerWidget::GetRedrawRect() { return CRect{m_rect.left, m_rect.top, m_rect.left + OPEN_WIDTH, m_rect.bottom}; }

int CDrawerWidget::OnMouseDown() { return ToggleOnClick(m_open.load() != 0); }

void CDrawerWidget::SetState(int value)
{
    const int32_t open = value ? 1 : 0;
    m_open.store(open);
    if (open) {
        m_caption = "서랍(열림)";
        m_rect.right = m_rect.left + OPEN_WIDTH;
    } else {
        m_caption = "서랍(닫힘)";
        m_rect.right = m_rect.left + CLOSED_WIDTH;
    }
}

void CDrawerWidget::Draw(CDrawSurface& surface)
{
    surface.DrawPicture(m_open.load() ? PICTURE_DRAWER_OPEN : PICTURE_DRAWER_CLOSED, m_rect);
    DrawCaptionCentred(surface);
}
