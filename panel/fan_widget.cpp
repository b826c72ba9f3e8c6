#include "panel/fan_widget.h"

#include "panel/picture_ids.h"

namespace {
constexpr int32_t SIZE = 35;
}  // namespace

CFanWidget::CFanWidget() { SetSize(SIZE, SIZE); }

int CFanWidget::OnTick()
{
    if (!m_running.load())
        return 0;
    m_frame.fetch_xor(1);  // a restart's frame 0 from the firmware thread is stepped, not lost
    return 1;
}

// Every start, also of a fan already running, begins at frame 0.
void CFanWidget::SetState(int value)
{
    if (value) {
        m_frame.store(0);
        m_running.store(1);
    } else {
        m_running.store(0);
    }
}

void CFanWidget::Draw(CDrawSurface& surface)
{
    const bool second = m_running.load() && m_frame.load() == 1;
    surface.DrawPicture(second ? PICTURE_FAN_FRAME_1 : PICTURE_FAN_FRAME_0, m_rect);
    DrawCaptionAbove(surface);
}
