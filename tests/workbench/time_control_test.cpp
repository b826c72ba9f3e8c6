// The workbench's time: pause, the exact steps, the stop at the next change
// of state, and how far each speed takes virtual time with the wall clock.

#include <QAction>
#include <QApplication>
#include <QInputDialog>
#include <QStatusBar>
#include <QTimer>

#include "firmware/fw_main.h"
#include "trace/trace_buffer.h"
#include "workbench/model/frame_clock.h"
#include "workbench/widgets/workbench_actions.h"
#include "workbench_fixture.h"

namespace {

class TimeControl : public CWorkbenchTest {};

TEST_F(TimeControl, PauseStopsVirtualTimeAndEachStepAdvancesExactlyItsAmount)
{
    Driver().Run();
    QTest::qWait(120);
    m_window->Actions().run->trigger();
    ASSERT_FALSE(Driver().Running());
    const uint64_t paused = Now();
    QTest::qWait(150);
    EXPECT_EQ(Now(), paused) << "no virtual time passes while paused";

    m_window->Actions().step1->trigger();
    EXPECT_EQ(Now(), paused + 1);
    m_window->Actions().step100->trigger();
    EXPECT_EQ(Now(), paused + 101);
    Driver().Run();
    m_window->Actions().step1->trigger();
    EXPECT_FALSE(Driver().Running()) << "a step pauses first";
}

TEST_F(TimeControl, ToTheNextChangeOfStateStopsAtTheMsOfTheChange)
{
    Step(1200);
    Click(CVirtualSimulator::POWER_KEY);  // power-off to standby once the firmware sees the release
    const int32_t before = Session().StateNumber();
    m_window->Actions().stepState->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Driver().Running(); }, 5000));
    EXPECT_NE(Session().StateNumber(), before);
    // The trace stamps a value with the ms it came about in: the one before now.
    const CTraceBuffer& trace = Session().Trace().Buffer();
    int channel = 0;
    while (trace.Name(channel) != "state_number")
        ++channel;
    EXPECT_EQ(trace.ValueAt(channel, Now() - 2), before) << "the state was still the old one a ms earlier";
    EXPECT_EQ(trace.ValueAt(channel, Now() - 1), Session().StateNumber());
}

// With the cover left open the state never changes: the search gives up at
// its limit, set through the real dialog, and says so.
TEST_F(TimeControl, TheSearchForTheNextStateGivesUpAtItsLimit)
{
    EXPECT_EQ(Driver().SeekLimitMs(), 3'600'000u) << "an hour unless set";
    QTimer::singleShot(0, [] {
        QInputDialog* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->setIntValue(2);
        dialog->accept();
    });
    m_window->Actions().seekLimit->trigger();
    Step(1200);
    Click(CVirtualSimulator::POWER_KEY);
    Step(1000);
    Click(CVirtualSimulator::COVER);
    Step(1000);
    const int32_t open = Session().StateNumber();
    const uint64_t from = Now();
    m_window->Actions().stepState->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Driver().Running(); }, 5000));
    EXPECT_EQ(Session().StateNumber(), open);
    EXPECT_EQ(Now() - from, 120'000u) << "two virtual minutes, not one ms more";
    EXPECT_TRUE(m_window->statusBar()->currentMessage().contains(QString::fromUtf8("2분")))
        << m_window->statusBar()->currentMessage().toStdString();
}

// Virtual time follows the wall clock from its anchor at each speed; a
// simulation that falls far behind is let off instead of racing to catch up.
TEST(FrameClock, EachSpeedFollowsTheWallClockFromItsAnchor)
{
    const struct {
        int speed;
        int64_t wallUs;
        uint64_t target;
        int frameMs;
    } cases[] = {
        {0, 200'000, 1020, 100}, {1, 200'000, 1200, 100},  {2, 200'000, 3000, 16},
        {3, 200'000, 21000, 16}, {4, 200'000, 201000, 16},
    };
    for (const auto& c : cases) {
        CFrameClock clock;
        clock.SetSpeed(c.speed);
        clock.Anchor(1000, 0);
        EXPECT_EQ(clock.Target(1000, c.wallUs), c.target) << CFrameClock::SPEED_LABELS[c.speed];
        EXPECT_EQ(clock.FrameIntervalMs(), c.frameMs) << CFrameClock::SPEED_LABELS[c.speed];
    }

    CFrameClock clock;
    clock.SetSpeed(CFrameClock::SPEED_ONE);
    clock.Anchor(0, 0);
    EXPECT_EQ(clock.Target(0, 10'000'000), 100u) << "10 s behind: one frame's worth, not 10 s at once";
    EXPECT_EQ(clock.Target(100, 10'100'000), 200u) << "and on from there";

    clock.SetSpeed(CFrameClock::SPEED_MAX);
    EXPECT_TRUE(clock.AsFastAsPossible());
    EXPECT_EQ(clock.FrameIntervalMs(), 0);
    for (int frame = 0; frame <= 10; ++frame)
        clock.FrameDone(static_cast<uint64_t>(frame) * 5000, frame * 50'000);
    EXPECT_DOUBLE_EQ(clock.Achieved(), 100.0) << "5000 virtual ms every 50 ms";
}

}  // namespace
