#include "panel/panel_widget.h"

#include "board/port_pin.h"

namespace {
// The caption above a widget starts this far above its top edge.
constexpr int32_t CAPTION_RAISE = 18;
}  // namespace

CPanelWidget::CPanelWidget() : m_caption(), m_rect{0, 0, 0, 0}, m_pin(nullptr), m_binding(nullptr), m_pinDriven(1) {}

CPanelWidget::~CPanelWidget() = default;

CRect CPanelWidget::GetRedrawRect() { return m_rect; }

int CPanelWidget::OnTick() { return 0; }

int CPanelWidget::OnMouseMove() { return 0; }

int CPanelWidget::OnMouseUp() { return 0; }

int CPanelWidget::OnMouseDown() { return 0; }

int CPanelWidget::GetValue() { return 0; }

void CPanelWidget::SetState(int) {}

void CPanelWidget::Draw(CDrawSurface&) {}

// Called once at layout, while the rectangle still lies at the origin: moves
// the widget to (x, y) and keeps its size.
void CPanelWidget::Place(const std::string& caption, int x, int y)
{
    m_caption = caption;
    m_rect.left = x;
    m_rect.top = y;
    m_rect.right += x;
    m_rect.bottom += y;
}

bool CPanelWidget::HitTest(CPoint point)
{
    return m_rect.left <= point.x && point.x < m_rect.right && m_rect.top <= point.y && point.y < m_rect.bottom;
}

void CPanelWidget::SetSize(int32_t width, int32_t height)
{
    m_rect.right = m_rect.left + width;
    m_rect.bottom = m_rect.top + height;
}

// A caption wider than the widget overflows on both sides: the text is never clipped.
void CPanelWidget::DrawCaptionAbove(CDrawSurface& surface) const
{
    const CRect above{m_rect.left, m_rect.top - CAPTION_RAISE, m_rect.right, m_rect.bottom - CAPTION_RAISE};
    surface.DrawText(m_caption, above, CDrawSurface::TEXT_ABOVE);
}

void CPanelWidget::DrawCaptionCentred(CDrawSurface& surface) const
{
    surface.DrawText(m_caption, m_rect, CDrawSurface::TEXT_CENTRED);
}

int CPanelWidget::ToggleOnClick(bool isOpen)
{
    const int opened = isOpen ? 0 : 1;
    SetState(opened);
    if (m_pin)
        m_pin->Write(static_cast<uint8_t>(opened));
    return 1;
}
