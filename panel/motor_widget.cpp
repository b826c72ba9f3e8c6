#include "panel/motor_widget.h"

#include <algorithm>

#include "board/plant_seam.h"
#include "panel/picture_ids.h"

namespace {
constexpr int32_t SIZE = 35;
constexpr int32_t FRAMES = 4;
}  // namespace

CMotorWidget::CMotorWidget() { SetSize(SIZE, SIZE); }

// A motor at its end stop keeps turning in place until stopped or reversed.
// A jammed one is driven but stands still, its position and picture frozen.
int CMotorWidget::OnTick()
{
    if (!m_running.load() || !plant_travels(*this))
        return 0;
    const bool forward = m_direction.load() == FORWARD;
    const int32_t position = m_position.load();
    if (forward)
        m_position.store(std::min(position + STEP_PER_TICK, END_HIGH));
    else if (position >= END_LOW + STEP_PER_TICK)
        m_position.store(position - STEP_PER_TICK);

    // The firmware thread may restart the motor at frame 0 meanwhile: step
    // whatever frame is there now, so that restart is not overwritten.
    int32_t frame = m_frame.load();
    int32_t next;
    do {
        next = forward ? (frame + 1) % FRAMES : (frame + FRAMES - 1) % FRAMES;
    } while (!m_frame.compare_exchange_weak(frame, next));
    return 1;
}

void CMotorWidget::SetState(int value)
{
    if (value)
        StartMotor(m_direction.load());
    else
        StopMotor();
}

void CMotorWidget::Draw(CDrawSurface& surface)
{
    const int picture = m_running.load() ? PICTURE_MOTOR_FRAME_0 + m_frame.load() : PICTURE_MOTOR_STOPPED;
    surface.DrawPicture(picture, m_rect);
    DrawCaptionAbove(surface);
}

// Only the low 8 bits count; a running motor reverses at its next tick.
void CMotorWidget::SetDirection(int value) { m_direction.store((value & 0xFF) ? BACKWARD : FORWARD); }

// A motor already running keeps its frame and only takes the new direction.
void CMotorWidget::StartMotor(int direction)
{
    m_direction.store(direction);
    if (!m_running.load()) {
        m_frame.store(0);
        m_running.store(1);
    }
}

void CMotorWidget::StopMotor() { m_running.store(0); }
