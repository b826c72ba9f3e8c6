#include "sim/virtual_simulator.h"

#include "board/platform_thread.h"
#include "sim/simulation_reset.h"

namespace {
// Thrown out of the firmware's sleep when its period hook has returned during
// a stop: the real worker would now leave its loop.
struct CWorkerLeftLoop {};
// Thrown out of the firmware's sleep when the harness is destroyed.
struct CHarnessQuit {};
}  // namespace

CVirtualSimulator::CVirtualSimulator()
{
    reset_simulation_statics();
    m_view = std::make_unique<CSimulatorView>();
    m_view->Layout();
    m_view->m_board.Attach(*m_view);
    m_faults = std::make_unique<CPlantFaults>(*m_view);
    m_time.m_onMs = [this] { EveryMs(); };
    m_time.m_onRefresh = [this] { Refresh(); };
    m_time.m_onPeriodEnd = [this] { OnPeriodEnd(); };
}

CVirtualSimulator::~CVirtualSimulator()
{
    if (m_firmware.joinable()) {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_quit = true;
            m_firmwareTurn = true;
        }
        m_cv.notify_all();
        m_firmware.join();
    }
    m_faults.reset();
    m_view.reset();
    reset_simulation_statics();
}

void CVirtualSimulator::Startup()
{
    if (m_firmware.joinable())
        return;
    m_limitMs = Now();  // the firmware pauses at its first sleep
    m_firmwareTurn = true;
    m_firmware = std::thread(&CVirtualSimulator::FirmwareMain, this);
    std::unique_lock<std::mutex> lock(m_mutex);
    m_cv.wait(lock, [this] { return !m_firmwareTurn; });
}

bool CVirtualSimulator::RunUntil(uint64_t limitMs, std::function<bool()> done)
{
    if (!m_firmware.joinable())
        Startup();
    if ((done && done()) || Now() >= limitMs)
        return done && done();
    std::unique_lock<std::mutex> lock(m_mutex);
    m_limitMs = limitMs;
    m_done = std::move(done);
    m_doneHeld = false;
    m_firmwareTurn = true;
    m_cv.notify_all();
    m_cv.wait(lock, [this] { return !m_firmwareTurn; });
    m_done = {};
    return m_doneHeld;
}

void CVirtualSimulator::FirmwareMain()
{
    try {
        m_time.Startup();
        for (;;) {
            try {
                m_time.RunUntil(UINT64_MAX);
            } catch (const CThreadTerminated&) {
                FinishReset();  // the 101st poll ended the old firmware by force
            } catch (const CWorkerLeftLoop&) {
                // Nothing runs until the stop's next 50 ms poll sees the worker gone.
                m_workerGone = true;
                const uint64_t elapsed = Now() - m_stopRequestedAt;
                const uint64_t poll = m_stopRequestedAt + (elapsed / STOP_POLL_MS + 1) * STOP_POLL_MS;
                if (poll > Now())
                    time_sleep_ms(static_cast<uint32_t>(poll - Now()));
                FinishReset();
            }
        }
    } catch (const CHarnessQuit&) {
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    m_firmwareTurn = false;
    m_cv.notify_all();
}

void CVirtualSimulator::EveryMs()
{
    if (m_stopping && !m_workerGone && Now() >= m_stopRequestedAt + STOP_LIMIT_MS)
        throw CThreadTerminated{};
    if (m_onMs)
        m_onMs();
    PauseIfDue();
}

// Hands the turn back to the caller when the run has reached its end, and
// waits inside this sleep for the next run.
void CVirtualSimulator::PauseIfDue()
{
    const bool doneHeld = m_done && m_done();
    if (!doneHeld && Now() < m_limitMs)
        return;
    std::unique_lock<std::mutex> lock(m_mutex);
    m_doneHeld = doneHeld;
    m_firmwareTurn = false;
    m_cv.notify_all();
    m_cv.wait(lock, [this] { return m_firmwareTurn; });
    if (m_quit)
        throw CHarnessQuit{};
}

void CVirtualSimulator::OnPeriodEnd()
{
    if (m_stopping)
        throw CWorkerLeftLoop{};
}

void CVirtualSimulator::FinishReset()
{
    m_stopping = false;
    m_workerGone = false;
    ++m_resetsDone;
    m_time.Startup();
    std::vector<std::function<void()>> deferred;
    deferred.swap(m_deferred);
    for (auto& action : deferred)
        action();
}

void CVirtualSimulator::Refresh()
{
    if (m_stopping)
        return;  // the window's thread is blocked in the stop
    ++m_refreshTicks;
    m_view->OnTimer(m_window, CSimulatorView::REFRESH_TIMER_ID);
}

void CVirtualSimulator::UserAction(std::function<void()> action)
{
    if (m_stopping)
        m_deferred.push_back(std::move(action));
    else
        action();
}

void CVirtualSimulator::Press(CPoint point) { m_view->OnLButtonDown(m_window, point); }

void CVirtualSimulator::Release() { m_view->OnLButtonUp(m_window); }

void CVirtualSimulator::PressAt(uint64_t timeMs, CPoint point)
{
    m_time.At(timeMs, [this, point] { UserAction([this, point] { Press(point); }); });
}

void CVirtualSimulator::ReleaseAt(uint64_t timeMs)
{
    m_time.At(timeMs, [this] { UserAction([this] { Release(); }); });
}

void CVirtualSimulator::ClickAt(uint64_t timeMs, CPoint point, uint64_t holdMs)
{
    PressAt(timeMs, point);
    ReleaseAt(timeMs + holdMs);
}

void CVirtualSimulator::DoubleClickAt(uint64_t timeMs, CPoint point)
{
    ClickAt(timeMs, point, 60);
    ReleaseAt(timeMs + 180);  // the double-click press itself reaches no widget
}

void CVirtualSimulator::ResetCpuAt(uint64_t timeMs)
{
    m_time.At(timeMs, [this] {
        if (m_stopping)
            return;
        m_stopping = true;
        m_stopRequestedAt = Now();
    });
}

void CVirtualSimulator::Paint(CDrawSurface& surface) { m_view->OnPaint(surface, CRect{0, 0, 500, 400}); }
