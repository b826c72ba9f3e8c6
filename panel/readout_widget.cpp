#include "panel/readout_widget.h"

#include <cstdio>
#include <iterator>

namespace {

// Indexed by the firmware's shown state number: 0 before the first state.
const char* const STATE_NAMES[] = {
    "",
    "기동",
    "파워 오프",
    "파워 온 대기",
    "커버 열림",
    "워싱",
    "컷팅",
    "건조",
    "배출",
    "서랍열림",
    "수동세척",
};

constexpr int32_t STATE_NAME_COUNT = static_cast<int32_t>(std::size(STATE_NAMES));

// A number that is not a state has no name: the table is never read past its end.
const char* state_name(int32_t value)
{
    return value >= 0 && value < STATE_NAME_COUNT ? STATE_NAMES[value] : "";
}

}  // namespace

CReadoutWidget::CReadoutWidget() { SetSize(1, 1); }

void CReadoutWidget::SetState(int value) { m_value.store(value); }

void CReadoutWidget::Draw(CDrawSurface& surface)
{
    const int32_t value = m_value.load();
    char text[160];
    if (m_caption.empty())
        std::snprintf(text, sizeof text, "%d", value);
    else if (m_showStateName.load())
        std::snprintf(text, sizeof text, "%s: %d (%s)", m_caption.c_str(), value, state_name(value));
    else
        std::snprintf(text, sizeof text, "%s: %d", m_caption.c_str(), value);
    surface.DrawText(text, m_rect, CDrawSurface::TEXT_CENTRED);
}
