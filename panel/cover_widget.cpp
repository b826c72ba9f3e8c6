#include "panel/cover_widget.h"

#include "panel/picture_ids.h"

namespace {
constexpr int32_t WIDTH = 161;
constexpr int32_t CLOSED_HEIGHT = 21;
constexpr int32_t LIFT = 40;  // how far the open lid reaches above the closed one
}  // namespace

CCoverWidget::CCoverWidget()
{
    SetSize(WIDTH, CLOSED_HEIGHT);
    m_pinDriven = 0;
}

// The area of the open lid, which also holds the closed one.
CRect CCoverWidget::GetRedrawRect()
{
    const int32_t closedTop = m_closedTopKnown.load() ? m_closedTop.load() : m_rect.top;
    return CRect{m_rect.left, closedTop - LIFT, m_rect.right, m_rect.bottom};
}

int CCoverWidget::OnMouseDown() { return ToggleOnClick(m_open.load() != 0); }

void CCoverWidget::SetState(int value)
{
    const int32_t open = value ? 1 : 0;
    m_open.store(open);
    if (!m_closedTopKnown.load()) {
        m_closedTop.store(m_rect.top);
        m_closedTopKnown.store(1);
    }
    const int32_t closedTop = m_closedTop.load();
    if (open) {
        m_caption = "커버(열림)";
        m_rect.top = closedTop - LIFT;
    } else {
        m_caption = "커버(닫힘)";
        m_rect.top = closedTop;
    }
    m_rect.bottom = closedTop + CLOSED_HEIGHT;
}

void CCoverWidget::Draw(CDrawSurface& surface)
{
    surface.DrawPicture(m_open.load() ? PICTURE_COVER_OPEN : PICTURE_COVER_CLOSED, m_rect);
    DrawCaptionCentred(surface);
}
