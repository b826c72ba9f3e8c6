// The periodic worker with real threads: every wait here is bounded and the
// checks leave wide margins, so a loaded machine cannot make them fail.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

#include "app/core/simulator_view.h"
#include "board/port_bytes.h"
#include "board/worker_thread.h"
#include "sim/simulation_reset.h"

namespace {

using Clock = std::chrono::steady_clock;

double ms_since(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// Waits up to `limitMs` for a condition; the tests never depend on how fast it comes.
template <typename Condition>
bool eventually(Condition condition, int limitMs = 2000)
{
    const auto start = Clock::now();
    while (!condition()) {
        if (ms_since(start) > limitMs)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

class CCountingWorker : public CWorkerThread {
public:
    ~CCountingWorker() { Stop(); }

    void OnStart() override
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        m_starts.fetch_add(1);
        m_startDone.store(true);
    }
    void OnPeriod() override
    {
        if (m_periods.load() == 0) {
            m_firstPeriodAt.store(Clock::now().time_since_epoch().count());
            m_startSeenByFirstPeriod.store(m_startDone.load());
        }
        m_periods.fetch_add(1);
        if (m_throwNext.exchange(false))
            throw std::runtime_error("period failed");
    }
    void OnSignal() override { m_signals.fetch_add(1); }

    std::atomic<int> m_starts{0};
    std::atomic<int> m_periods{0};
    std::atomic<int> m_signals{0};
    std::atomic<bool> m_startDone{false};
    std::atomic<bool> m_startSeenByFirstPeriod{false};
    std::atomic<bool> m_throwNext{false};
    std::atomic<Clock::rep> m_firstPeriodAt{0};
};

// A hook that never returns by itself, sleeping in 1 ms steps as the firmware does.
class CStuckWorker : public CWorkerThread {
public:
    ~CStuckWorker() { Stop(); }
    void OnPeriod() override
    {
        for (;;) {
            m_steps.fetch_add(1);
            PlatformSleep(1);
        }
    }
    std::atomic<int> m_steps{0};
};

TEST(WorkerThread, StartRunsOnStartFirstThenPeriodsEveryMillisecond)
{
    CCountingWorker worker;
    ASSERT_TRUE(worker.Start(1));
    const auto resumedAt = Clock::now();
    EXPECT_EQ(worker.m_starts.load(), 1) << "OnStart runs on the calling thread inside Start";

    ASSERT_TRUE(eventually([&] { return worker.m_periods.load() >= 50; }));
    EXPECT_TRUE(worker.m_startSeenByFirstPeriod.load()) << "OnStart must finish before the first OnPeriod";
    const auto firstAt = Clock::time_point(Clock::duration(worker.m_firstPeriodAt.load()));
    const double firstAfterMs = std::chrono::duration<double, std::milli>(firstAt - resumedAt).count();
    EXPECT_LT(firstAfterMs, 100.0) << "the first period comes about 1 ms after the resume";

    EXPECT_FALSE(worker.Start(1)) << "a second Start while running is refused";
    EXPECT_EQ(worker.m_starts.load(), 1) << "and makes no second thread";

    EXPECT_TRUE(worker.Stop());
    EXPECT_EQ(worker.m_bRunning.load(), 0);
    EXPECT_EQ(worker.m_hThread, nullptr);
    EXPECT_EQ(worker.m_hEvent, nullptr);
    const int periods = worker.m_periods.load();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(worker.m_periods.load(), periods) << "no period runs after Stop returned";
}

TEST(WorkerThread, AnExceptionOfOnePeriodIsRecordedAndTheNextPeriodClearsIt)
{
    CCountingWorker worker;
    worker.m_throwNext.store(true);
    ASSERT_TRUE(worker.Start(1));
    ASSERT_TRUE(eventually([&] { return worker.m_periods.load() >= 1 && !worker.m_throwNext.load(); }));
    ASSERT_TRUE(eventually([&] { return worker.m_periods.load() >= 5; }));
    EXPECT_EQ(worker.m_bPeriodFailed.load(), 0) << "later periods ran normally and cleared the flag";
    worker.Stop();
}

TEST(WorkerThread, AThrowingPeriodSetsTheFailedFlag)
{
    // A worker whose every period throws keeps running and keeps the flag set.
    class CAlwaysThrows : public CWorkerThread {
    public:
        ~CAlwaysThrows() { Stop(); }
        void OnPeriod() override
        {
            m_periods.fetch_add(1);
            throw 42;
        }
        std::atomic<int> m_periods{0};
    } worker;
    ASSERT_TRUE(worker.Start(1));
    ASSERT_TRUE(eventually([&] { return worker.m_periods.load() >= 3; }));
    EXPECT_EQ(worker.m_bPeriodFailed.load(), 1);
    worker.Stop();
}

TEST(WorkerThread, StopOnAnIdleThreadReturnsAtOnce)
{
    CCountingWorker worker;
    const auto start = Clock::now();
    EXPECT_TRUE(worker.Stop());
    EXPECT_LT(ms_since(start), 40.0) << "no poll on an idle thread (a poll waits 50 ms)";
    EXPECT_EQ(worker.m_starts.load(), 0);
}

TEST(WorkerThread, PeriodZeroOnlyWakesOnTheEventAndStopsAtTheFirstPoll)
{
    CCountingWorker worker;
    ASSERT_TRUE(worker.Start(0));
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    EXPECT_EQ(worker.m_periods.load(), 0) << "period 0 runs no period";
    const auto start = Clock::now();
    EXPECT_TRUE(worker.Stop());
    EXPECT_LT(ms_since(start), 1000.0) << "the stop request ends a waiting worker at the first poll";
    EXPECT_EQ(worker.m_signals.load(), 0) << "the stop signal is not passed to OnSignal";
}

TEST(WorkerThread, AWorkerWaitingBetweenHooksEndsAtTheFirstPoll)
{
    CCountingWorker worker;
    ASSERT_TRUE(worker.Start(1));
    ASSERT_TRUE(eventually([&] { return worker.m_periods.load() >= 3; }));
    const auto start = Clock::now();
    worker.Stop();
    EXPECT_LT(ms_since(start), 1000.0) << "Stop returns at its first poll, if it polls at all";
    EXPECT_EQ(worker.m_bRunning.load(), 0);
}

TEST(WorkerThread, AThreadThatCannotBeCreatedLeavesTheWorkerIdleAndReleasesTheEvent)
{
    CCountingWorker worker;
    PlatformFailNextThreadCreation();
    EXPECT_FALSE(worker.Start(1));
    EXPECT_EQ(worker.m_starts.load(), 0) << "OnStart is not called";
    EXPECT_EQ(worker.m_bRunning.load(), 0);
    EXPECT_EQ(worker.m_hThread, nullptr);
    EXPECT_EQ(worker.m_hEvent, nullptr) << "the event made before is released";
    EXPECT_TRUE(worker.Stop());

    EXPECT_TRUE(worker.Start(0)) << "the next creation succeeds again";
    EXPECT_EQ(worker.m_starts.load(), 1);
    EXPECT_TRUE(worker.Stop());
}

// With no firmware thread the panel is still shown and takes the mouse;
// nothing drives it, and "Reset CPU" under the same shortage changes nothing.
TEST(WorkerThread, APanelWhoseFirmwareCannotStartStaysOperable)
{
    reset_simulation_statics();
    {
        CSimulatorView view;
        CQuietWindow window;
        PlatformFailNextThreadCreation();
        EXPECT_EQ(view.OnCreate(), 0);
        EXPECT_EQ(view.m_board.m_thread.m_bRunning.load(), 0);
        for (int open : {1, 0}) {
            view.OnLButtonDown(window, CPoint{246, 155});  // the cover
            view.OnLButtonUp(window);
            EXPECT_EQ(view.m_cover.m_open.load(), open);
            EXPECT_EQ(sig_read(RUN_KEY), open) << "the cover writes its bit";
        }
        view.OnTimer(window, CSimulatorView::REFRESH_TIMER_ID);
        PlatformFailNextThreadCreation();
        view.OnResetCpu();
        EXPECT_EQ(view.m_board.m_thread.m_bRunning.load(), 0);
        view.OnDestroy();
    }
    reset_simulation_statics();
}

TEST(WorkerThreadSlow, StopEndsAStuckHookByForceAfter101Polls)
{
    CStuckWorker worker;
    ASSERT_TRUE(worker.Start(1));
    ASSERT_TRUE(eventually([&] { return worker.m_steps.load() > 0; }));
    const auto start = Clock::now();
    EXPECT_TRUE(worker.Stop());
    const double took = ms_since(start);
    EXPECT_GE(took, 5000.0) << "101 polls of 50 ms";
    EXPECT_LT(took, 8000.0);
    EXPECT_EQ(worker.m_bRunning.load(), 0);
    EXPECT_EQ(worker.m_hThread, nullptr);
    EXPECT_EQ(worker.m_hEvent, nullptr);
    const int steps = worker.m_steps.load();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(worker.m_steps.load(), steps) << "the worker has really ended when Stop returns";
    EXPECT_EQ(worker.m_bPeriodFailed.load(), 0) << "the forced end is not recorded as a failure";

    // The same object starts afresh afterwards.
    EXPECT_TRUE(worker.Start(0));
    EXPECT_TRUE(worker.Stop());
}

}  // namespace
