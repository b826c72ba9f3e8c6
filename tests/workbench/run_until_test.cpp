// Running until a condition written in the time bar's box: the pause lands
// on the ms the runner's run-until reports for the same session, at every
// speed and during a replay; a condition that does not read runs nothing;
// the limit gives up; the history is kept in order and across windows.

#include <QAction>
#include <QLineEdit>
#include <QStatusBar>
#include <QTemporaryDir>

#include "scenario/language/scenario_parser.h"
#include "scenario/run/scenario_executor.h"
#include "sim/counting_beep.h"
#include "workbench/model/scenario_replay.h"
#include "workbench/model/trace_buffer.h"
#include "workbench/widgets/condition_box.h"
#include "workbench/widgets/time_bar.h"
#include "workbench/widgets/until_run.h"
#include "workbench/widgets/workbench_actions.h"
#include "workbench_fixture.h"

namespace {

constexpr int X1 = CFrameClock::SPEED_ONE;
constexpr int X1000 = 4;
constexpr int MAX = CFrameClock::SPEED_MAX;

class RunUntil : public CWorkbenchTest {
protected:
    CConditionBox& Box() { return m_window->TimeBar().ConditionBox(); }
    QString Message() const { return m_window->statusBar()->currentMessage(); }

    // Writes into the real box and presses Enter there.
    void Submit(const QString& condition)
    {
        QLineEdit* edit = Box().lineEdit();
        edit->clear();
        for (const QChar letter : condition) {  // Hangul as an input method hands it over
            if (letter.unicode() < 0x80)
                QTest::keyClick(edit, static_cast<char>(letter.unicode()));
            else
                QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(letter), Qt::NoModifier);
        }
        QTest::keyClick(edit, Qt::Key_Return);
    }
    // Lets the run end: at a fixed speed the fake wall clock moves 200 ms
    // between catch-ups; as fast as possible the frames run for real.
    void RunToPause(int speed)
    {
        if (speed == MAX) {
            ASSERT_TRUE(QTest::qWaitFor([&] { return !Driver().Running(); }, 20000));
            return;
        }
        for (int frame = 0; Driver().Running() && frame < 100000; ++frame) {
            m_wallUs += 200'000;
            Driver().CatchUp();
        }
        ASSERT_FALSE(Driver().Running());
    }

    int64_t m_wallUs = 0;
};

// Plays `steps` and then "run-until CONDITION" on a fresh controller, as
// the scenario runner does; the virtual ms of the run-until's verdict.
uint64_t runner_stop_ms(const std::string& steps, const std::string& condition)
{
    CScenarioParser parser;
    EXPECT_TRUE(parser.Parse(steps + "run-until " + condition + " within 3600000\n")) << parser.ErrorMessage("t");
    CCountingBeep beep;
    CVirtualSimulator sim;
    CScenarioExecutor executor(sim, parser.Steps());
    executor.RunToEnd();
    const CScenarioResult& verdict = executor.Results().back();
    EXPECT_TRUE(verdict.held) << condition << ": " << verdict.seen;
    return verdict.timeMs;
}

// One session through a whole cycle's beginning, each condition run until
// at its speed from where the last one paused; then each compared with the
// runner's run-until from a fresh controller given the session's steps so far.
TEST_F(RunUntil, PausesOnTheMsTheRunnersRunUntilReportsAtEverySpeed)
{
    Driver().m_wallClock = [this] { return m_wallUs; };
    const CPoint none{-1, -1};
    const struct {
        uint64_t stepMs;  // stepped first, then
        CPoint click;     // clicked (none: nothing)
        int speed;
        const char* condition;
    } cases[] = {
        {1200, CVirtualSimulator::POWER_KEY, MAX, "state 파워 온 대기"},
        {0, none, X1, "state 3"},  // holds already: no ms runs
        {1000, CVirtualSimulator::COVER, X1, "readout state \"state: 4 (커버 열림)\""},
        {1000, CVirtualSimulator::COVER, X1000, "timer disk_timer running"},
        {0, none, X1, "motor disk 0"},
        {0, none, MAX, "signal COOLING_FAN 1"},
        {0, none, X1000, "not signal MAIN_FAN 1"},
        {0, none, MAX, "lamp green on"},
        {0, none, X1, "var heater_pulses 1"},
        {0, none, MAX, "signal HEATER 1"},
        {0, none, MAX, "state 파워 온 대기"},
    };
    struct CStop {
        std::string steps;
        uint64_t pausedMs;
    };
    std::vector<CStop> stops;
    for (const auto& c : cases) {
        Step(c.stepMs);
        if (c.click.x >= 0)
            Click(c.click);
        const uint64_t from = Now();
        const std::string steps = Session().Record().Steps(from);
        m_window->Actions().speed[c.speed]->trigger();
        Submit(QString::fromUtf8(c.condition));
        if (Driver().Running()) {
            EXPECT_TRUE(m_window->StatusText().contains(QString::fromUtf8("«%1» 까지 실행 중").arg(c.condition)))
                << m_window->StatusText().toStdString();
        }
        RunToPause(c.speed);
        EXPECT_TRUE(Message().contains(QString::fromUtf8(Now() == from ? "이미 맞아" : "맞아 멈췄습니다")))
            << c.condition << ": " << Message().toStdString();
        stops.push_back({steps, Now()});
    }
    m_window.reset();  // one controller per process: the runner's comes next
    for (size_t i = 0; i < stops.size(); ++i)
        EXPECT_EQ(stops[i].pausedMs, runner_stop_ms(stops[i].steps, cases[i].condition)) << cases[i].condition;
}

}  // namespace

// Ctrl+U puts the cursor in the box, and in the box runs it; a condition
// that does not read is refused with the parser's reason and runs nothing;
// the last ten run are kept, newest first, for the next window.
TEST_F(RunUntil, RefusesWhatDoesNotReadAndKeepsTheLastTenForTheNextWindow)
{
    m_window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_window.get()));
    QAction* command = m_window->Actions().runUntil;
    command->trigger();
    EXPECT_TRUE(Box().lineEdit()->hasFocus());
    const uint64_t from = Now();
    const struct {
        const char* text;
        const char* reason;
    } refused[] = {{"", "missing argument"},
                   {"state 없는상태", "unknown state '없는상태'"},
                   {"signal NOPE 1", "unknown signal 'NOPE'"},
                   {"not not lamp red on", "'not not'"},
                   {"var disk_retry_ls 256", "256"}};
    for (const auto& r : refused) {
        Submit(QString::fromUtf8(r.text));
        const QString reason = QString::fromUtf8(r.reason);
        EXPECT_TRUE(Box().Refused() && Box().toolTip().contains(reason) && Message().contains(reason))
            << r.text << ": " << Message().toStdString();
        EXPECT_TRUE(Now() == from && !Driver().Running()) << r.text;
    }
    QTest::keyClick(Box().lineEdit(), Qt::Key_Backspace);
    EXPECT_FALSE(Box().Refused()) << "edited, no longer marked";

    for (int n = 12; n >= 1; --n)  // each holds at once
        Submit(QStringLiteral("not var disk_retry_ls %1").arg(n));
    Box().setEditText(QStringLiteral("not var disk_retry_ls 5"));
    QTest::keyClick(Box().lineEdit(), Qt::Key_U, Qt::ControlModifier);  // in the box: runs it
    const QStringList kept{QStringLiteral("5"), QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
                           QStringLiteral("4"), QStringLiteral("6"), QStringLiteral("7"), QStringLiteral("8"),
                           QStringLiteral("9"), QStringLiteral("10")};
    m_window = std::make_unique<CWorkbenchWindow>(SettingsFile());
    QStringList shown;
    for (int i = 0; i < Box().count(); ++i)
        shown << Box().itemText(i).remove(QStringLiteral("not var disk_retry_ls "));
    EXPECT_EQ(shown, kept);
}

// The heater never comes on in power-off: the run gives up at the limit of
// the next state's search. Any other time command ends it, a new speed does
// not. During a replay it stops on the runner's ms, the replay still under way.
TEST_F(RunUntil, GivesUpAtTheLimitEndsAtOtherTimeCommandsAndStopsInAReplay)
{
    Driver().m_wallClock = [this] { return m_wallUs; };
    CWorkbenchActions& a = m_window->Actions();
    Driver().SetSeekLimitMs(120'000);
    a.speed[MAX]->trigger();
    const uint64_t from = Now();
    Submit(QStringLiteral("signal HEATER 1"));
    RunToPause(MAX);
    EXPECT_EQ(Now() - from, 120'000u) << "two virtual minutes, not one ms more";
    EXPECT_TRUE(Message().contains(QString::fromUtf8("2분 동안 만족하지 못해"))) << Message().toStdString();

    a.speed[X1]->trigger();
    const struct {
        QAction* command;
        CFrameDriver::Mode after;
    } commands[] = {{a.speed[2], CFrameDriver::RUNNING_UNTIL},
                    {a.run, CFrameDriver::PAUSED},
                    {a.step1, CFrameDriver::PAUSED},
                    {a.stepState, CFrameDriver::SEEKING_STATE}};
    for (const auto& c : commands) {
        Submit(QStringLiteral("signal HEATER 1"));
        m_wallUs += 200'000;
        Driver().CatchUp();
        c.command->trigger();
        EXPECT_EQ(Driver().GetMode(), c.after) << c.command->text().toStdString();
        Driver().Pause();
    }

    const std::string setup = "wait 1200\nclick 전원\nwait 1000\nclick 커버\nwait 1000\nclick 커버\n";
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("wash.scn")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write((setup + "wait 600000\n").c_str());
    file.close();
    a.speed[MAX]->trigger();
    QString error;
    ASSERT_TRUE(m_window->OpenScenario(file.fileName(), error)) << error.toStdString();
    Submit(QStringLiteral("signal MAIN_MOTOR 1"));
    RunToPause(MAX);
    EXPECT_TRUE(m_window->Replay().Active());
    const uint64_t paused = Now();
    m_window.reset();
    EXPECT_EQ(paused, runner_stop_ms(setup, "signal MAIN_MOTOR 1"));
}
