// A scenario replayed in the window: each verdict in the log, a pause on the
// very ms of the first failed one with its line shown, and the rest played
// on when the clock runs again.

#include <QTemporaryDir>

#include <sstream>

#include "scenario/language/scenario_parser.h"
#include "support/scenario/verdict_printer.h"
#include "workbench/widgets/session_files.h"

#include "workbench/model/scenario_replay.h"
#include "workbench/widgets/log_dock.h"
#include "workbench_fixture.h"

namespace {

class Replay : public CWorkbenchTest {};

TEST_F(Replay, PausesOnTheMsOfTheFirstFailedExpectationAndShowsItsLine)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("check.scn"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(
        "wait 1200\n"
        "click 전원\n"
        "run-until state 파워 온 대기 within 1000\n"
        "wait 5000\n"
        "expect state 건조          # wrong on purpose\n"
        "expect lamp red on\n"
        "wait 60000\n"
        "expect state 파워 온 대기\n");
    file.close();

    Driver().SetSpeed(CFrameClock::SPEED_MAX);
    QString error;
    ASSERT_TRUE(m_window->OpenScenario(path, error)) << error.toStdString();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Driver().Running(); }, 10000)) << "paused at the failure";

    const CScenarioReplay& replay = m_window->Replay();
    ASSERT_EQ(replay.Results().size(), 3u) << "the run-until, the failure and the check of the same ms after it";
    const CScenarioResult& failure = replay.Results()[1];
    EXPECT_FALSE(failure.held);
    EXPECT_EQ(failure.line, 5);
    EXPECT_EQ(Now(), failure.timeMs) << "the clock stands on the failure's ms, not after it";
    EXPECT_TRUE(m_window->LogDock().StopText().contains(QString::fromUtf8("check.scn:5: expect state 건조")))
        << m_window->LogDock().StopText().toStdString();
    EXPECT_TRUE(m_window->LogDock().Line(2).contains(QStringLiteral(":5: ")));
    EXPECT_TRUE(m_window->LogDock().Line(2).contains(QStringLiteral("FAILED")));
    EXPECT_TRUE(Session().InputBlocked()) << "the user waits for the replay's end";
    EXPECT_TRUE(m_window->StatusText().contains(QStringLiteral("check.scn:5 ")))
        << "the status line names the failed line, not the step after it: " << m_window->StatusText().toStdString();

    Driver().Run();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !replay.Active(); }, 10000));
    const CLogDock& log = m_window->LogDock();
    EXPECT_EQ(log.Line(log.Lines() - 1), QStringLiteral("3 passed, 1 failed"));
    EXPECT_FALSE(Session().InputBlocked());

    // On from the end by hand: the saved session begins with the replayed file.
    Step(700);
    Click(CVirtualSimulator::COVER);
    Step(300);
    const QString saved = dir.filePath(QStringLiteral("saved.scn"));
    ASSERT_TRUE(m_window->Files().SaveScenario(saved, error)) << error.toStdString();
    m_window.reset();
    CScenarioParser parser;
    ASSERT_TRUE(parser.ParseFile(saved.toStdString())) << parser.ErrorMessage("saved.scn");
    std::ostringstream out;
    std::ostringstream err;
    CVerdictPrinter runner(out, err, CScenarioOptions{"saved.scn", "", true});
    EXPECT_EQ(runner.Run(parser.Steps()), CVerdictPrinter::SOME_FAILED) << "the replayed file's own failure";
    EXPECT_EQ(runner.Failed(), 1) << out.str();
    EXPECT_EQ(runner.Passed(), 3 + 21) << "the file's checks and the session's end";
}

}  // namespace
