#include "panel/two_frame_widget.h"

int CTwoFrameWidget::OnTick()
{
    if (!m_running.load())
        return 0;
    m_frame.fetch_xor(1);  // a restart's frame 0 from the firmware thread is stepped, not lost
    return 1;
}

void CTwoFrameWidget::SetState(int value)
{
    if (value) {
        m_frame.store(0);
        m_running.store(1);
    } else {
        m_running.store(0);
    }
}
