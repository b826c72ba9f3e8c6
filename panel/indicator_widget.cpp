#include "panel/indicator_widget.h"

namespace {
constexpr int32_t WIDTH = 5;
constexpr int32_t HEIGHT = 10;
constexpr CColour RED{255, 0, 0};
constexpr CColour BLACK{0, 0, 0};
}  // namespace

CIndicatorWidget::CIndicatorWidget() { SetSize(WIDTH, HEIGHT); }

void CIndicatorWidget::SetState(int value) { m_on.store(value ? 1 : 0); }

void CIndicatorWidget::Draw(CDrawSurface& surface) { surface.FillRect(m_rect, m_on.load() ? RED : BLACK); }
