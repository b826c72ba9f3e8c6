#include "panel/readout_widget.h"

#include <cstdio>

#include "panel/state_names.h"

CReadoutWidget::CReadoutWidget() { SetSize(1, 1); }

void CReadoutWidget::SetState(int value) { m_value.store(value); }

std::string CReadoutWidget::Text() const
{
    const int32_t value = m_value.load();
    char text[160];
    if (m_caption.empty())
        std::snprintf(text, sizeof text, "%d", value);
    else if (m_showStateName.load())
        std::snprintf(text, sizeof text, "%s: %d (%s)", m_caption.c_str(), value, state_name(value));
    else
        std::snprintf(text, sizeof text, "%s: %d", m_caption.c_str(), value);
    return text;
}

void CReadoutWidget::Draw(CDrawSurface& surface) { surface.DrawText(Text(), m_rect, CDrawSurface::TEXT_CENTRED); }
