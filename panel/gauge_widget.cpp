#include "panel/gauge_widget.h"

#include "board/plant_seam.h"

namespace {
constexpr int32_t WIDTH = 14;
constexpr CColour RED{255, 0, 0};
}  // namespace

widget_state CGaugeWidget::s_tickCount{0};

CGaugeWidget::CGaugeWidget() { SetSize(WIDTH, HEIGHT); }

// The count is not reset when the heater switches on, so the first step after
// that comes 1 to 5 ticks later. A heater that does not warm leaves the gauge
// empty.
int CGaugeWidget::OnTick()
{
    if (!plant_warms()) {
        m_level.store(0);
        return 0;
    }
    if (m_on.load() != 1)
        return 0;
    int32_t level = m_level.load();
    if (level >= m_rect.Height())
        return 1;
    const int32_t count = s_tickCount.load() + 1;
    if (count < TICKS_PER_STEP) {
        s_tickCount.store(count);
        return 1;
    }
    s_tickCount.store(0);
    // The firmware thread may empty the gauge meanwhile; that reset wins over
    // this step of the level it replaced.
    m_level.compare_exchange_strong(level, level + 1);
    return 1;
}

int CGaugeWidget::GetValue() { return m_level.load(); }

// On starts from empty and off empties it.
void CGaugeWidget::SetState(int value)
{
    m_on.store(value ? 1 : 0);
    m_level.store(0);
}

void CGaugeWidget::Draw(CDrawSurface& surface)
{
    surface.OutlineRect(m_rect);
    if (m_on.load() == 1) {
        const CRect fill{m_rect.left, m_rect.bottom - m_level.load(), m_rect.right, m_rect.bottom};
        surface.FillRect(fill, RED);
    }
    DrawCaptionAbove(surface);
}
