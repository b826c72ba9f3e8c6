// Input lands at the virtual ms that matches the moment it was given: while
// the clock runs, time is brought up to the wall clock first; while it
// stands still, a click plays as the runner's click does, so the firmware
// sees every click and a saved session replays it as the firmware saw it.

#include <QAction>

#include <vector>

#include "workbench/widgets/workbench_actions.h"
#include "workbench_fixture.h"

namespace {

class InputTiming : public CWorkbenchTest {
protected:
    // The presses and releases recorded from the `skip`th on, as ms after `from`.
    std::vector<uint64_t> Landed(uint64_t from, size_t skip)
    {
        std::vector<uint64_t> times;
        const std::vector<CRecordedAction>& actions = Session().Record().Actions();
        for (size_t i = skip; i < actions.size(); ++i)
            times.push_back(actions[i].timeMs - from);
        return times;
    }
};

TEST_F(InputTiming, WhileTheClockRunsInputLandsAtTheMsOfItsWallTime)
{
    int64_t wallUs = 0;
    Driver().m_wallClock = [&wallUs] { return wallUs; };
    const struct {
        int speed;
        std::vector<int64_t> wallMs;   // press, release, press, release ...
        std::vector<uint64_t> landed;  // virtual ms after the run began
    } cases[] = {
        {CFrameClock::SPEED_ONE, {30, 60, 130, 160, 240, 270}, {30, 60, 130, 160, 240, 270}},
        {0, {100, 300}, {10, 30}},  // x0.1
        {2, {5, 8}, {50, 80}},      // x10
    };
    const QPoint key(CVirtualSimulator::POWER_KEY.x, CVirtualSimulator::POWER_KEY.y);
    for (const auto& c : cases) {
        Step(1200);
        const uint64_t from = Now();
        const size_t skip = Session().Record().Actions().size();
        wallUs = 0;
        m_window->Actions().speed[c.speed]->trigger();
        m_window->Actions().run->trigger();
        for (size_t i = 0; i < c.wallMs.size(); ++i) {
            wallUs = c.wallMs[i] * 1000;
            i % 2 ? QTest::mouseRelease(&m_window->Panel(), Qt::LeftButton, {}, key)
                  : QTest::mousePress(&m_window->Panel(), Qt::LeftButton, {}, key);
        }
        m_window->Actions().run->trigger();
        EXPECT_EQ(Landed(from, skip), c.landed) << CFrameClock::SPEED_LABELS[c.speed];
    }
}

// Paused, a click is held 100 virtual ms once time moves; a second click
// given meanwhile follows 100 ms after the first one's release.
TEST_F(InputTiming, WhilePausedAClickIsHeldAsTheRunnersClickIs)
{
    Step(1200);
    const uint64_t from = Now();
    QTest::mouseClick(&m_window->Panel(), Qt::LeftButton, {}, QPoint(52, 51));
    EXPECT_EQ(Landed(from, 0), (std::vector<uint64_t>{0})) << "the release waits for time to move";
    m_window->Actions().step1->trigger();
    EXPECT_EQ(Landed(from, 0), (std::vector<uint64_t>{0})) << "held 100 ms, not 1";
    m_window->Actions().step100->trigger();
    EXPECT_EQ(Landed(from, 0), (std::vector<uint64_t>{0, 100}));
    ASSERT_TRUE(StepUntilState(3, 2000)) << "the firmware saw the click: standby";

    const uint64_t second = Now();
    QTest::keyClick(&m_window->Panel(), Qt::Key_W);
    QTest::keyClick(&m_window->Panel(), Qt::Key_W);
    Step(1000);
    EXPECT_EQ(Landed(second, 2), (std::vector<uint64_t>{0, 100, 200, 300})) << "two clicks, each seen";
    const std::string steps = Session().Record().Steps(Now());
    EXPECT_NE(steps.find("press 전원\nwait 100"), std::string::npos) << steps;
}

}  // namespace
