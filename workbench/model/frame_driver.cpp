#include "workbench/model/frame_driver.h"

#include "workbench/model/workbench_session.h"

#include <algorithm>

namespace {
// As fast as possible, the firmware runs in chunks of about CHUNK_US of
// wall time, sized from the pace of the chunk before.
constexpr int64_t CHUNK_US = 2000;
constexpr uint64_t CHUNK_MAX_MS = 100'000;
}  // namespace

CFrameDriver::CFrameDriver(CWorkbenchSession& session, QObject* parent) : QObject(parent), m_session(session)
{
    m_wall.start();
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &CFrameDriver::OnTimer);
}

void CFrameDriver::SetMode(Mode mode)
{
    m_mode = mode;
    if (mode != RUNNING_UNTIL)
        m_until = nullptr;  // it may look at a simulator a new session throws away
    m_clock.ForgetFrames();
    if (mode == PAUSED)
        m_timer.stop();
    else
        StartTimer();
    emit ModeChanged();
}

void CFrameDriver::StartTimer()
{
    m_clock.Anchor(m_session.Now(), WallUs());
    const bool fast = m_mode == SEEKING_STATE || m_clock.AsFastAsPossible();
    m_timer.start(fast ? 0 : m_clock.FrameIntervalMs());
}

void CFrameDriver::Run()
{
    if (m_mode != RUNNING)
        SetMode(RUNNING);
}

void CFrameDriver::Pause()
{
    if (m_mode != PAUSED)
        SetMode(PAUSED);
}

void CFrameDriver::ToggleRun() { m_mode == PAUSED ? Run() : Pause(); }

void CFrameDriver::SetSpeed(int index)
{
    m_clock.SetSpeed(index);
    if (m_mode != PAUSED)
        StartTimer();
    emit ModeChanged();
}

void CFrameDriver::Step(uint64_t ms)
{
    Pause();
    Advance(m_session.Now() + ms, {});
    emit Frame();
}

void CFrameDriver::SeekNextState()
{
    m_seekFrom = m_session.StateNumber();
    m_seekUntil = m_session.Now() + m_seekLimitMs;
    SetMode(SEEKING_STATE);
}

void CFrameDriver::RunUntilCondition(std::function<bool()> holds)
{
    Pause();
    m_untilHeld = false;
    if (holds()) {
        emit UntilHeld();
        return;
    }
    m_until = [this, holds = std::move(holds)] { return m_untilHeld = holds(); };
    m_seekUntil = m_session.Now() + m_seekLimitMs;
    SetMode(RUNNING_UNTIL);
}

bool CFrameDriver::Advance(uint64_t limitMs, const std::function<bool()>& stop)
{
    if (m_advance)
        return m_advance(limitMs, stop);
    return m_session.RunUntil(limitMs, stop);
}

void CFrameDriver::CatchUp()
{
    if ((m_mode == RUNNING || m_mode == RUNNING_UNTIL) && !m_clock.AsFastAsPossible())
        FollowWallClock();
}

// At a fixed speed: up to the virtual ms that matches the wall clock, and
// running until a condition, no further than the limit.
void CFrameDriver::FollowWallClock()
{
    const uint64_t target = m_clock.Target(m_session.Now(), WallUs());
    if (m_mode != RUNNING_UNTIL) {
        if (Advance(target, {}))
            Pause();
        return;
    }
    const std::function<bool()> until = m_until;  // a replay's failure pauses, which clears m_until
    if (Advance(std::min(target, m_seekUntil), until))
        Pause();
    EndUntilIfDone();
}

// A run until a condition that paused because the condition held (and not
// because a replay stopped of its own), or that reached its limit.
void CFrameDriver::EndUntilIfDone()
{
    if (m_untilHeld) {
        m_untilHeld = false;
        Pause();
        emit UntilHeld();
    } else if (m_mode == RUNNING_UNTIL && m_session.Now() >= m_seekUntil) {
        Pause();
        emit UntilGaveUp();
    }
}

void CFrameDriver::OnTimer()
{
    emit FrameBegins();
    if (m_mode == SEEKING_STATE) {
        const int32_t from = m_seekFrom;
        CWorkbenchSession& session = m_session;
        RunSlice([&session, from] { return session.StateNumber() != from; }, m_seekUntil);
        if (m_mode == SEEKING_STATE && m_session.Now() >= m_seekUntil) {
            Pause();
            emit SeekGaveUp();
        }
    } else if (m_mode == RUNNING_UNTIL && m_clock.AsFastAsPossible()) {
        const std::function<bool()> until = m_until;
        RunSlice(until, m_seekUntil);
        EndUntilIfDone();
    } else if (m_clock.AsFastAsPossible()) {
        RunSlice({});
    } else {
        FollowWallClock();
    }
    m_clock.FrameDone(m_session.Now(), WallUs());
    emit Frame();
}

// Runs in chunks of about CHUNK_US of wall time until the slice is spent,
// the run stops or the limit is reached; a stop pauses.
void CFrameDriver::RunSlice(const std::function<bool()>& stop, uint64_t limitMs)
{
    const int64_t start = WallUs();
    for (;;) {
        const uint64_t from = m_session.Now();
        if (from >= limitMs)
            return;
        const int64_t before = WallUs();
        const bool stopped = Advance(std::min(from + m_chunkMs, limitMs), stop);
        const int64_t took = std::max<int64_t>(1, WallUs() - before);
        const uint64_t ran = m_session.Now() - from;
        if (ran > 0)
            m_chunkMs = std::clamp<uint64_t>(ran * CHUNK_US / static_cast<uint64_t>(took), 1, CHUNK_MAX_MS);
        if (stopped) {
            Pause();
            return;
        }
        if (WallUs() - start >= int64_t{CFrameClock::MAX_SLICE_MS} * 1000)
            return;
    }
}
