#include "panel/valve_widget.h"

#include "panel/picture_ids.h"

namespace {
constexpr int32_t WIDTH = 48;
constexpr int32_t HEIGHT = 15;
}  // namespace

CValveWidget::CValveWidget() { SetSize(WIDTH, HEIGHT); }

int CValveWidget::OnTick()
{
    if (!m_running.load())
        return 0;
    m_frame.fetch_xor(1);  // a restart's frame 0 from the firmware thread is stepped, not lost
    return 1;
}

// Every opening, also of a valve already open, begins at frame 0.
void CValveWidget::SetState(int value)
{
    if (value) {
        m_frame.store(0);
        m_running.store(1);
    } else {
        m_running.store(0);
    }
}

void CValveWidget::Draw(CDrawSurface& surface)
{
    int picture = PICTURE_VALVE_IDLE;
    if (m_running.load())
        picture = m_frame.load() == 1 ? PICTURE_VALVE_FRAME_1 : PICTURE_VALVE_FRAME_0;
    surface.DrawPicture(picture, m_rect);
    DrawCaptionAbove(surface);
}
