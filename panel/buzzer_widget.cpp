#include "panel/buzzer_widget.h"

#include "panel/beep.h"
#include "panel/picture_ids.h"

namespace {
constexpr int32_t SIZE = 30;
}  // namespace

CBuzzerWidget::CBuzzerWidget() { SetSize(SIZE, SIZE); }

int CBuzzerWidget::OnTick()
{
    if (m_sounding.load() != 1)
        return 0;
    const int32_t left = m_countdown.load();
    if (left > 0) {
        m_countdown.store(left - 1);
        if (left == 1)
            m_sounding.store(0);
    }
    return 1;
}

// Zero does not silence the buzzer; while it sounds, a request neither beeps
// again nor restarts the countdown. Called from the firmware thread.
void CBuzzerWidget::SetState(int value)
{
    if (value == 0 || m_sounding.load() != 0)
        return;
    panel_beep();
    // The countdown is in place before the window's thread can see the sound.
    m_countdown.store(SOUNDING_TICKS);
    m_sounding.store(1);
}

void CBuzzerWidget::Draw(CDrawSurface& surface)
{
    const bool sounding = m_sounding.load() == 1 && m_countdown.load() != 0;
    surface.DrawPicture(sounding ? PICTURE_BUZZER_SOUNDING : PICTURE_BUZZER_SILENT, m_rect);
    DrawCaptionAbove(surface);
}
