// A session at the workbench saved as a scenario and replayed by the runner
// from a fresh controller: it comes to the same end, every expectation held.

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QTemporaryDir>

#include <sstream>

#include "scenario/language/scenario_parser.h"
#include "sim/panel_parts.h"
#include "support/scenario/verdict_printer.h"
#include "workbench/widgets/fault_menu.h"
#include "workbench/widgets/session_files.h"
#include "workbench/widgets/workbench_actions.h"
#include "workbench_fixture.h"

namespace {

constexpr int32_t STANDBY = 3;
constexpr int32_t COVER_OPEN = 4;
constexpr int32_t WASHING = 5;

class SessionRoundTrip : public CWorkbenchTest {};

TEST_F(SessionRoundTrip, ASavedSessionReplaysToTheSameEnd)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("session.scn"));

    // Power on (by the P key, held 100 ms), open and close the cover:
    // washing; then a cover interruption.
    Step(1200);
    QTest::keyPress(&m_window->Panel(), Qt::Key_P);
    Step(100);
    QTest::keyRelease(&m_window->Panel(), Qt::Key_P);
    ASSERT_TRUE(StepUntilState(STANDBY, 2000));
    Click(CVirtualSimulator::COVER);
    ASSERT_TRUE(StepUntilState(COVER_OPEN, 1000));
    Step(777);
    Click(CVirtualSimulator::COVER, 37);
    ASSERT_TRUE(StepUntilState(WASHING, 1000));
    Step(4321);
    Click(CVirtualSimulator::COVER);
    ASSERT_TRUE(StepUntilState(COVER_OPEN, 1000));
    Step(1500);
    Click(CVirtualSimulator::COVER);
    Step(2345);

    // The main motor jams for a while; the exit's CCW switch sticks for good.
    const CPlantFault jammed{CPlantFault::JAMMED_MOTOR, MOTOR_MAIN, 0};
    const CPlantFault stuck{CPlantFault::STUCK_SWITCH, CPlantFault::SwitchIndex("OVER_SENSOR_CCW"), 1};
    m_window->Faults().ActionOf(jammed)->trigger();
    EXPECT_TRUE(m_window->StatusText().contains(QStringLiteral("motor main jammed"))) << "shown while in force";
    Step(3210);
    m_window->Faults().ActionOf(jammed)->trigger();
    EXPECT_FALSE(m_window->StatusText().contains(QStringLiteral("jammed")));
    m_window->Faults().ActionOf(stuck)->trigger();
    Step(1111);

    // "Reset CPU" while washing runs: a press during the stop waits for its end.
    m_window->Actions().resetCpu->trigger();
    Step(300);
    ASSERT_TRUE(Session().ResettingCpu());
    QTest::mousePress(&m_window->Panel(), Qt::LeftButton, {}, QPoint(246, 155));
    QTest::mouseRelease(&m_window->Panel(), Qt::LeftButton, {}, QPoint(246, 155));
    QString error;
    EXPECT_FALSE(m_window->Files().SaveScenario(path, error)) << "not while the firmware is being stopped";
    Step(6000);
    ASSERT_FALSE(Session().ResettingCpu());
    Step(1234);
    Click(CPoint{52, 51}, 250);  // the power key by its coordinates
    Step(999);
    ASSERT_TRUE(m_window->Files().SaveScenario(path, error)) << error.toStdString();

    // The panel as a picture and the trace as a dump, beside it.
    const QString png = dir.filePath(QStringLiteral("panel.png"));
    const QString vcd = dir.filePath(QStringLiteral("trace.vcd"));
    ASSERT_TRUE(m_window->Files().SaveSnapshot(png, error)) << error.toStdString();
    EXPECT_EQ(QImage(png).size(), QSize(CPanelView::WIDTH, CPanelView::HEIGHT));
    ASSERT_TRUE(m_window->Files().ExportTrace(vcd, error)) << error.toStdString();
    QFile dump(vcd);
    ASSERT_TRUE(dump.open(QIODevice::ReadOnly));
    const QByteArray trace = dump.readAll();
    EXPECT_TRUE(trace.contains("$var wire 1 ") && trace.contains(" OVER_SENSOR_CCW $end"));
    EXPECT_TRUE(trace.contains(" state_number $end"));
    EXPECT_TRUE(trace.endsWith(QByteArray("#") + QByteArray::number(qulonglong(Now())) + "\n"))
        << "the dump ends at the present virtual time";
    for (auto save : {&CSessionFiles::ExportTrace, &CSessionFiles::SaveScenario, &CSessionFiles::SaveSnapshot})
        EXPECT_FALSE((m_window->Files().*save)(dir.path(), error)) << "a folder is not overwritten";
    EXPECT_TRUE(QFileInfo(dir.path()).isDir());
    m_window.reset();  // one simulator at a time

    CScenarioParser parser;
    ASSERT_TRUE(parser.ParseFile(path.toStdString())) << parser.ErrorMessage("session.scn");
    std::ostringstream out;
    std::ostringstream err;
    CVerdictPrinter runner(out, err, CScenarioOptions{"session.scn", "", false});
    EXPECT_EQ(runner.Run(parser.Steps()), CVerdictPrinter::ALL_HELD) << out.str() << err.str();
    EXPECT_EQ(runner.Passed(), 1 + 3 + 14 + 3) << "the state, the lamps, the outputs and the motors";

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(text.contains(QString::fromUtf8("press 커버"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QString::fromUtf8("reset-cpu\npress 커버\nwait 100")))
        << "the click held during the stop lands when the firmware runs again, held 100 ms";
    EXPECT_TRUE(text.contains(QString::fromUtf8("press 전원"))) << "the power key's point names the key";
    EXPECT_TRUE(text.contains(QStringLiteral("fault motor main jammed\nwait 3210")));
    EXPECT_TRUE(text.contains(QStringLiteral("clear motor main\nfault OVER_SENSOR_CCW stuck 1\n")));
}

}  // namespace
