// The heater gauge: one pixel every 5 ticks while on, full at 50, emptied by
// every SetState; and no reset lost to a tick on the other thread.

#include "panel/gauge_widget.h"

#include <atomic>
#include <chrono>
#include <thread>

#include "widget_fixture.h"

namespace {

class GaugeWidget : public WidgetTest {
protected:
    void SetUp() override
    {
        WidgetTest::SetUp();
        m_gauge.Place("히터", 436, 153);
    }
    void Tick(int ticks)
    {
        for (int i = 0; i < ticks; ++i)
            m_gauge.OnTick();
    }
    CGaugeWidget m_gauge;
};

const CRect BOX{436, 153, 450, 203};
const CColour RED{255, 0, 0};

TEST_F(GaugeWidget, FillsOnePixelEveryFiveTicksUntilFull)
{
    EXPECT_EQ(m_gauge.OnTick(), 0) << "off: nothing happens";
    m_gauge.SetState(1);
    Tick(4);
    EXPECT_EQ(m_gauge.GetValue(), 0) << "no step before the fifth tick";
    EXPECT_EQ(DrawnBy(m_gauge), (Calls{CSurfaceCall::Outline(BOX), CSurfaceCall::Fill(CRect{436, 203, 450, 203}, RED),
                                       CSurfaceCall::Text("히터", raised(BOX), ABOVE)}))
        << "a white box with a black frame and no red yet";
    Tick(1);
    EXPECT_EQ(m_gauge.GetValue(), 1);
    Tick(245);
    EXPECT_EQ(m_gauge.GetValue(), 50) << "full after 250 ticks from a zero count";
    EXPECT_EQ(DrawnBy(m_gauge)[1], CSurfaceCall::Fill(BOX, RED)) << "solid red to the top";
    EXPECT_EQ(m_gauge.OnTick(), 1) << "a full gauge that is on still reports animation";
    Tick(20);
    EXPECT_EQ(m_gauge.GetValue(), 50) << "never past full";
}

TEST_F(GaugeWidget, EverySetStateEmptiesIt)
{
    m_gauge.SetState(1);
    Tick(50);
    ASSERT_EQ(m_gauge.GetValue(), 10);
    m_gauge.SetState(1);
    EXPECT_EQ(m_gauge.GetValue(), 0) << "switching on again starts from empty";
    Tick(50);
    m_gauge.SetState(0);
    EXPECT_EQ(m_gauge.GetValue(), 0) << "switching off empties it";
    EXPECT_EQ(m_gauge.OnTick(), 0);
    EXPECT_EQ(DrawnBy(m_gauge), (Calls{CSurfaceCall::Outline(BOX), CSurfaceCall::Text("히터", raised(BOX), ABOVE)}))
        << "off: no red at all";
}

TEST_F(GaugeWidget, TheTickCountCarriesOverAndIsSharedByAllGauges)
{
    m_gauge.SetState(1);
    Tick(3);
    m_gauge.SetState(1);
    Tick(2);
    EXPECT_EQ(m_gauge.GetValue(), 1) << "the count left from before brings the first step sooner";

    CGaugeWidget other;
    other.SetState(1);
    Tick(4);
    other.OnTick();
    EXPECT_EQ(other.GetValue(), 1) << "the other gauge's tick completes the shared count";
    EXPECT_EQ(m_gauge.GetValue(), 1);
}

// Firmware thread: wait until the level has risen, empty the gauge, and check
// that the level afterwards is explained by the ticks since. A stale step
// written over the reset would show the old level back. (The test thread
// peeks at the shared tick count only to time its resets.)
TEST_F(GaugeWidget, NoResetIsLostToConcurrentTicks)
{
    m_gauge.SetState(1);
    std::atomic<bool> stop{false};
    std::atomic<long> ticks{0};
    std::thread window([&] {
        while (!stop.load()) {
            m_gauge.OnTick();
            ticks.fetch_add(1);
        }
    });

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(800);
    int resets = 0;
    int shown = 0;
    bool lost = false;
    while (resets < 20000 && std::chrono::steady_clock::now() < deadline) {
        // Reset near a step, while the other thread may hold the old level, and
        // before the gauge is full (a full gauge stops counting).
        const int risen = m_gauge.GetValue();
        const bool nearStep = CGaugeWidget::s_tickCount.load() >= CGaugeWidget::TICKS_PER_STEP - 2;
        if (risen < 1 || (!nearStep && risen < 40))
            continue;
        const long before = ticks.load();
        m_gauge.SetState(1);
        // Let a tick that was in flight at the reset finish before looking.
        while (ticks.load() < before + 2 && std::chrono::steady_clock::now() < deadline)
            ;
        const int level = m_gauge.GetValue();
        const long after = ticks.load();
        // At most one tick in flight on each side of the window, and a step per 5 ticks.
        const long allowed = (after - before + 2 + 4) / 5;
        if (level > allowed) {
            lost = true;
            shown = level;
            break;
        }
        ++resets;
    }
    stop.store(true);
    window.join();
    EXPECT_FALSE(lost) << "level " << shown << " soon after a reset: a stale step overwrote it";
    EXPECT_GT(resets, 0) << "the ticking thread never raised the level";
}

}  // namespace
