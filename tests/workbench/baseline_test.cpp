// A baseline held against the live trace in the real window: opened and
// refused through 파일's command and its file dialog, a replay that parts
// from it paused on the very ms the divergence comes to light (the one the
// compare of the exported trace finds), the status line and the log naming
// it (the model's tests check it is the compare's), the replay played on to
// its end, and the baseline closed again.

#include <QFileDialog>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>

#include <fstream>

#include "scenario/language/scenario_parser.h"
#include "scenario/run/instrumented_run.h"
#include "workbench/model/scenario_replay.h"
#include "workbench/model/session_record.h"
#include "workbench/widgets/baseline_control.h"
#include "workbench/widgets/log_dock.h"
#include "workbench/widgets/trace_dock.h"
#include "workbench/widgets/trace_view.h"
#include "workbench/widgets/workbench_actions.h"
#include "workbench_fixture.h"

namespace {

const char* const LIVE =
    "wait 1200\n"
    "click power\n"
    "run-until state 파워 온 대기 within 1000\n"
    "click cover\n"
    "click cover\n"
    "run-until state 워싱 within 500\n"
    "wait 4000\n"
    "expect state 워싱\n";

// The runner's run comes first: one simulated machine per process at a time.
class Baseline : public CWorkbenchTest {
protected:
    void SetUp() override
    {
        CQtTest::SetUp();
        QStandardPaths::setTestModeEnabled(true);
    }
    // 기준 추적 열기 with `path` chosen in its dialog; the text of a warning after it, if any.
    QString OpenThroughDialog(const QString& path)
    {
        QString warning;
        QTimer answerer;
        QObject::connect(&answerer, &QTimer::timeout, [&] {
            if (auto* files = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
                files->selectFile(path);
                static_cast<QDialog*>(files)->accept();
            } else if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                warning = box->text();
                box->accept();
            }
        });
        answerer.start(5);
        m_window->Actions().openBaseline->trigger();
        return warning;
    }
};

TEST_F(Baseline, AReplayPausesOnTheFirstDivergenceAndPlaysOnFromIt)
{
    QTemporaryDir dir;
    const QString golden = dir.filePath(QStringLiteral("golden.vcd"));
    {
        // The same steps on a plant whose disk motor is jammed.
        CScenarioParser parser;
        ASSERT_TRUE(parser.Parse(std::string("fault motor disk jammed\n") + LIVE)) << parser.ErrorReason();
        CInstrumentedRun run("golden.scn", parser.Steps());
        run.SetTrace(golden.toStdString(), {});
        run.Run();
    }
    const QString bad = dir.filePath(QStringLiteral("bad.vcd"));
    std::ofstream(bad.toStdString()) << "$timescale 1ms $end\n$enddefinitions $end\n#x\n";
    const QString scenario = dir.filePath(QStringLiteral("live.scn"));
    std::ofstream(scenario.toStdString()) << LIVE;

    m_window = std::make_unique<CWorkbenchWindow>(SettingsFile());
    m_window->show();
    const CBaselineControl& control = m_window->Baseline();
    EXPECT_TRUE(OpenThroughDialog(golden).isEmpty());
    const CVcdReader* dump = control.Baseline().Dump();
    ASSERT_NE(dump, nullptr);
    EXPECT_TRUE(m_window->StatusText().endsWith(QString::fromUtf8(" · 기준 golden.vcd")))
        << m_window->StatusText().toStdString();
    const int rows = m_window->TraceDock().View().RowCount();
    EXPECT_GT(rows, 0);
    EXPECT_EQ(m_window->LogDock().BaselineText(),
              QString::fromUtf8("기준 추적 golden.vcd · 행 %1개 중 %1개 일치").arg(rows));

    const QString refused = OpenThroughDialog(bad);
    EXPECT_TRUE(refused.startsWith(bad + QStringLiteral(":3: "))) << refused.toStdString();
    EXPECT_EQ(control.Baseline().Dump(), dump) << "the baseline open before stays";
    // Another unit is converted to ms; an edge between two ms is refused with its line.
    const QString fine = dir.filePath(QStringLiteral("fine.vcd"));
    std::ofstream(fine.toStdString()) << "$timescale 1us $end\n$var wire 1 ! RED_LED $end\n$enddefinitions $end\n"
                                      << "#0\n0!\n#2000\n1!\n#2500\n0!\n";
    EXPECT_EQ(OpenThroughDialog(fine), fine + QStringLiteral(":8: time '#2500' falls between two ms"));
    EXPECT_EQ(control.Baseline().Dump(), dump);

    Driver().SetSpeed(CFrameClock::SPEED_MAX);
    QString error;
    ASSERT_TRUE(m_window->OpenScenario(scenario, error)) << error.toStdString();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Driver().Running(); }, 10000)) << "paused at the divergence";
    ASSERT_TRUE(m_window->Replay().Active()) << "before the scenario's end";
    ASSERT_TRUE(control.Watch().Found());
    const CDivergenceWatch::CDivergence found = control.Watch().Divergence();
    EXPECT_EQ(Now(), found.timeMs + 1) << "on the ms after the diverging one, where its change is seen";
    CTraceView& view = m_window->TraceDock().View();
    EXPECT_EQ(view.Baseline(), dump);
    EXPECT_TRUE(view.HasDivergence());
    EXPECT_EQ(view.DivergenceName(), QString::fromStdString(found.name));
    QTest::keyClick(&view, Qt::Key_D);
    EXPECT_EQ(view.CursorMs(), found.timeMs) << "D goes to the first divergence";

    const QString text = QString::fromUtf8("기준과 처음 다른 곳 %1 %2 지금 %3 기준 %4")
                             .arg(QString::fromStdString(clock_text(found.timeMs)), QString::fromStdString(found.name),
                                  QString::fromStdString(found.live), QString::fromStdString(found.baseline));
    EXPECT_TRUE(m_window->StatusText().endsWith(QString::fromUtf8("기준 golden.vcd · ") + text))
        << m_window->StatusText().toStdString();
    EXPECT_EQ(m_window->LogDock().StopText(), QString::fromUtf8("멈춘 곳 ") + text);
    EXPECT_TRUE(m_window->LogDock().BaselineText().endsWith(text));

    // Running on plays the rest without stopping there again.
    Driver().Run();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !m_window->Replay().Active(); }, 10000));
    const CLogDock& log = m_window->LogDock();
    EXPECT_EQ(log.Line(log.Lines() - 1), QStringLiteral("3 passed, 0 failed"));
    EXPECT_EQ(control.Watch().Divergence().timeMs, found.timeMs) << "the first one stands";

    m_window->Actions().closeBaseline->trigger();
    EXPECT_EQ(control.Baseline().Dump(), nullptr);
    EXPECT_EQ(view.Baseline(), nullptr);
    EXPECT_FALSE(view.HasDivergence());
    EXPECT_FALSE(control.Watch().Found());
    EXPECT_FALSE(m_window->StatusText().contains(QString::fromUtf8("기준")));
    EXPECT_TRUE(log.BaselineText().isEmpty());
}

}  // namespace
