#include "workbench/model/frame_clock.h"

const char* const CFrameClock::SPEED_LABELS[SPEED_COUNT] = {"×0.1", "×1", "×10", "×100", "×1000", "최대"};

void CFrameClock::SetSpeed(int index)
{
    if (index >= 0 && index < SPEED_COUNT)
        m_speed = index;
    ForgetFrames();
}

int CFrameClock::FrameIntervalMs() const
{
    if (AsFastAsPossible())
        return 0;  // the slice itself paces the frames
    return SPEEDS[m_speed] <= 1 ? SLOW_FRAME_MS : FAST_FRAME_MS;
}

void CFrameClock::Anchor(uint64_t virtualMs, int64_t wallUs)
{
    m_anchorVirtualMs = virtualMs;
    m_anchorWallUs = wallUs;
}

uint64_t CFrameClock::Target(uint64_t virtualMs, int64_t wallUs)
{
    const double speed = SPEEDS[m_speed];
    if (speed <= 0)
        return virtualMs;
    // Where the wall clock stood when virtual time was where it is now.
    const double dueUs =
        static_cast<double>(m_anchorWallUs) + static_cast<double>(virtualMs - m_anchorVirtualMs) * 1000.0 / speed;
    if (static_cast<double>(wallUs) - dueUs > static_cast<double>(MAX_LAG_US))
        Anchor(virtualMs, wallUs - int64_t{FrameIntervalMs()} * 1000);
    const double target =
        static_cast<double>(m_anchorVirtualMs) + speed * static_cast<double>(wallUs - m_anchorWallUs) / 1000.0;
    const uint64_t whole = target > 0 ? static_cast<uint64_t>(target) : 0;
    return whole > virtualMs ? whole : virtualMs;
}

void CFrameClock::FrameDone(uint64_t virtualMs, int64_t wallUs)
{
    m_marks[m_next] = CFrameMark{wallUs, virtualMs};
    m_next = (m_next + 1) % MARKS;
    if (m_frames < MARKS)
        ++m_frames;
}

double CFrameClock::Achieved() const
{
    if (m_frames < 2)
        return 0;
    const CFrameMark& last = m_marks[(m_next + MARKS - 1) % MARKS];
    // The oldest mark still within a second of the last one.
    const CFrameMark* first = &last;
    for (int back = 2; back <= m_frames; ++back) {
        const CFrameMark& mark = m_marks[(m_next + MARKS - back) % MARKS];
        if (last.wallUs - mark.wallUs > 1'000'000)
            break;
        first = &mark;
    }
    if (first == &last || last.wallUs <= first->wallUs)
        return 0;
    return static_cast<double>(last.virtualMs - first->virtualMs) * 1000.0 /
           static_cast<double>(last.wallUs - first->wallUs);
}
