// Running until a condition written in the time bar's box: the pause lands on the ms the runner's
// run-until reports, at every speed and in a replay; refusals, the limit, the history.

#include <QAction>
#include <QLineEdit>
#include <QStatusBar>

#include "scenario/language/scenario_parser.h"
#include "scenario/run/scenario_executor.h"
#include "workbench/model/scenario_replay.h"
#include "workbench/widgets/condition_box.h"
#include "workbench/widgets/time_bar.h"
#include "workbench/widgets/workbench_actions.h"
#include "workbench_fixture.h"

namespace {

constexpr int X1 = CFrameClock::SPEED_ONE, X1000 = 4, MAX = CFrameClock::SPEED_MAX;

class RunUntil : public CWorkbenchTest {
protected:
    CConditionBox& Box() { return m_window->TimeBar().ConditionBox(); }
    QString Message() const { return m_window->statusBar()->currentMessage(); }
    // Writes into the real box (Hangul as an input method hands it over) and presses Enter.
    void Submit(const QString& condition)
    {
        Box().lineEdit()->clear();
        for (const QChar letter : condition)
            QTest::sendKeyEvent(QTest::Click, &Box(), letter == ' ' ? Qt::Key_Space : Qt::Key_unknown, QString(letter),
                                Qt::NoModifier);
        QTest::keyClick(&Box(), Qt::Key_Return);
    }
    // At a fixed speed the fake wall clock moves 200 ms between catch-ups; at most, frames run for real.
    void RunToPause(int speed)
    {
        for (int frame = 0; speed != MAX && Driver().Running() && frame < 100000; ++frame) {
            m_wallUs += 200'000;
            Driver().CatchUp();
        }
        ASSERT_TRUE(QTest::qWaitFor([&] { return !Driver().Running(); }, 20000));
    }
    int64_t m_wallUs = 0;
};

// The ms of the verdict of "run-until CONDITION" played after `steps` on a fresh controller.
uint64_t runner_stop_ms(const std::string& steps, const std::string& condition)
{
    CScenarioParser parser;
    EXPECT_TRUE(parser.Parse(steps + "run-until " + condition + " within 3600000\n")) << parser.ErrorMessage("t");
    CCountingBeep beep;
    CVirtualSimulator sim;
    CScenarioExecutor executor(sim, parser.Steps());
    executor.RunToEnd();
    EXPECT_TRUE(executor.Results().back().held) << condition << ": " << executor.Results().back().seen;
    return executor.Results().back().timeMs;
}

// One session through a whole cycle, each condition run until at its speed from where the last one
// paused, then compared with the runner's run-until after the session's steps so far; and a replay.
TEST_F(RunUntil, PausesOnTheMsTheRunnersRunUntilReportsAtEverySpeedAndInAReplay)
{
    Driver().m_wallClock = [this] { return m_wallUs; };
    const CPoint none{-1, -1}, power = CVirtualSimulator::POWER_KEY, cover = CVirtualSimulator::COVER;
    const std::tuple<CPoint, int, const char*> cases[] = {
        {power, MAX, "state 파워 온 대기"},  // each after 1200 ms and a click on its point, if any
        {none, X1, "state 3"},               // holds already: no ms runs
        {cover, X1, "readout state \"state: 4 (커버 열림)\""},
        {cover, X1000, "timer disk_timer running"},
        {none, X1, "motor disk 0"},
        {none, MAX, "signal COOLING_FAN 1"},
        {none, X1000, "not signal MAIN_FAN 1"},
        {none, MAX, "lamp green on"},
        {none, X1, "var heater_pulses 1"},
        {none, MAX, "state 파워 온 대기"},
    };
    std::vector<std::tuple<std::string, std::string, uint64_t>> stops;  // steps before, condition, ms paused on
    for (const auto& [click, speed, condition] : cases) {
        Step(1200);
        if (click.x >= 0)
            Click(click);
        const uint64_t from = Now();
        m_window->Actions().speed[speed]->trigger();
        Submit(QString::fromUtf8(condition));
        const QString waiting = QString::fromUtf8("«%1» 까지 실행 중").arg(condition);
        EXPECT_TRUE(!Driver().Running() || m_window->StatusText().contains(waiting)) << condition;
        RunToPause(speed);
        EXPECT_TRUE(Message().contains(QString::fromUtf8(Now() == from ? "이미 맞아" : "맞아 멈췄습니다")))
            << condition << ": " << Message().toStdString();
        stops.emplace_back(Session().Record().Steps(from), condition, Now());
    }
    const std::string setup = "wait 1200\nclick 전원\nwait 1000\nclick 커버\nwait 1000\nclick 커버\n";
    QFile file(m_settings.filePath(QStringLiteral("wash.scn")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write((setup + "wait 600000\n").c_str()) > 0);
    file.close();
    QString error;
    ASSERT_TRUE(m_window->OpenScenario(file.fileName(), error)) << error.toStdString();
    Submit(QStringLiteral("signal MAIN_MOTOR 1"));
    RunToPause(MAX);
    EXPECT_TRUE(m_window->Replay().Active()) << "paused inside the replay";
    stops.emplace_back(setup, "signal MAIN_MOTOR 1", Now());
    m_window.reset();  // one controller per process: the runner's come next
    for (const auto& [steps, condition, ms] : stops)
        EXPECT_EQ(ms, runner_stop_ms(steps, condition)) << condition;
}

// Ctrl+U puts the cursor in the box, and there runs it. A condition that does not read is refused with
// the parser's reason, nothing run. The heater never comes on in power-off: the run gives up at the next
// state's limit; any other time command ends it, a new speed does not. The last ten are kept, newest first.
TEST_F(RunUntil, RefusesGivesUpEndsAtOtherTimeCommandsAndKeepsTheLastTenForTheNextWindow)
{
    m_window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
    CWorkbenchActions& a = m_window->Actions();
    a.runUntil->trigger();
    EXPECT_TRUE(Box().lineEdit()->hasFocus());
    const uint64_t from = Now();
    const char* const refused[][2] = {
        {"", "missing argument"}, {"state 없는상태", "unknown state '없는상태'"}, {"var disk_retry_ls 256", "256"}};
    for (const auto& [text, why] : refused) {
        Submit(QString::fromUtf8(text));
        const QString reason = QString::fromUtf8(why);
        EXPECT_TRUE(Box().Refused() && Box().toolTip().contains(reason) && Message().contains(reason))
            << text << ": " << Message().toStdString();
        EXPECT_TRUE(Now() == from && !Driver().Running()) << text;
    }
    QTest::keyClick(&Box(), Qt::Key_Backspace);
    EXPECT_FALSE(Box().Refused()) << "edited, no longer marked";

    Driver().SetSeekLimitMs(120'000);
    a.speed[MAX]->trigger();
    Submit(QStringLiteral("signal HEATER 1"));
    RunToPause(MAX);
    EXPECT_EQ(Now() - from, 120'000u) << "two virtual minutes, not one ms more";
    EXPECT_TRUE(Message().contains(QString::fromUtf8("2분 동안 만족하지 못해"))) << Message().toStdString();
    a.speed[X1]->trigger();
    const std::pair<QAction*, CFrameDriver::Mode> commands[] = {{a.speed[2], CFrameDriver::RUNNING_UNTIL},
                                                                {a.run, CFrameDriver::PAUSED},
                                                                {a.step1, CFrameDriver::PAUSED},
                                                                {a.stepState, CFrameDriver::SEEKING_STATE}};
    for (const auto& [command, after] : commands) {
        Submit(QStringLiteral("signal HEATER 1"));
        command->trigger();
        EXPECT_EQ(Driver().GetMode(), after) << command->text().toStdString();
        Driver().Pause();
    }
    a.speed[MAX]->trigger();
    Submit(QStringLiteral("signal HEATER 1"));
    RunToPause(MAX);
    ASSERT_TRUE(Message().contains(QString::fromUtf8("만족하지 못해"))) << Message().toStdString();
    a.newSession->trigger();  // nothing done since the start: nothing to ask
    EXPECT_LT(Now(), 100u) << "a fresh controller";
    EXPECT_EQ(Message(), QString()) << "the old session's limit is gone with it";

    for (int n = 12; n >= 1; --n)  // each holds at once
        Submit(QStringLiteral("not var disk_retry_ls %1").arg(n));
    Box().setEditText(QStringLiteral("not var disk_retry_ls 5"));
    QTest::keyClick(&Box(), Qt::Key_U, Qt::ControlModifier);
    QTest::keyClick(&Box(), Qt::Key_Escape);
    EXPECT_TRUE(m_window->Panel().hasFocus()) << "Esc: the keys back to the panel";
    m_window.reset();  // one controller at a time
    m_window = std::make_unique<CWorkbenchWindow>(SettingsFile());
    QStringList shown;
    for (int i = 0; i < Box().count(); ++i)
        shown << Box().itemText(i).remove(QStringLiteral("not var disk_retry_ls "));
    EXPECT_EQ(shown.join(' '), QStringLiteral("5 1 2 3 4 6 7 8 9 10"));
}

}  // namespace
