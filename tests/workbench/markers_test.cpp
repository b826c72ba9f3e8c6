// Markers dropped on the trace, noted in the marker dock, saved with the
// session as comments the runner skips, and back with their notes when the
// saved scenario is opened again.

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>

#include <sstream>

#include "scenario/language/scenario_parser.h"
#include "support/scenario/verdict_printer.h"
#include "workbench/model/marker_list.h"
#include "workbench/widgets/marker_dock.h"
#include "workbench/widgets/session_files.h"
#include "workbench/widgets/trace_dock.h"
#include "workbench/widgets/trace_view.h"
#include "workbench/widgets/workbench_actions.h"
#include "workbench_fixture.h"

namespace {

TEST(MarkerComments, ReadOnlyWhatTheyWriteAndLeaveOtherCommentsAlone)
{
    const struct {
        const char* line;
        bool marker;
        uint64_t ms;
        const char* note;
    } cases[] = {
        {"# marker 00:21.603 팬이 늦게 켜짐", true, 21603, "팬이 늦게 켜짐"},
        {"  #marker 125:00.001 \t a # b  \r", true, 7500001, "a # b"},
        {"# marker 0:00.000", true, 0, ""},
        {"# marker 00:60.000 x", false, 0, ""},
        {"# marker 00:21.6 x", false, 0, ""},
        {"# marker 00:21.603x", false, 0, ""},
        {"# markers 00:21.603", false, 0, ""},
        {"# marker 1234567890:00.000", false, 0, ""},
        {"wait 100 # marker 00:01.000", false, 0, ""},
    };
    for (const auto& c : cases) {
        CMarker marker;
        ASSERT_EQ(read_marker_comment(QString::fromUtf8(c.line), marker), c.marker) << c.line;
        if (c.marker) {
            EXPECT_TRUE(marker.ms == c.ms && marker.note == QString::fromUtf8(c.note)) << c.line;
        }
    }
    const QString line = marker_comment(CMarker{65005, QString::fromUtf8("둘째 줄\n에 # 탭\t끝\r\n")});
    EXPECT_EQ(line, QString::fromUtf8("# marker 01:05.005 둘째 줄 에 # 탭 끝")) << "one line, whatever the note";
    EXPECT_EQ(without_marker_comments("wait 5\n\n" + std::string(MARKERS_HEADER) + "\n" + line.toStdString() +
                                      "\n# marker soon\n"),
              "wait 5\n# marker soon\n")
        << "the markers' header goes with them, and the blank line before it";
}

class Markers : public CWorkbenchTest {
protected:
    // Types text into the note open in the dock (QTest's key clicks are Latin-1 only).
    void Type(const QString& text, Qt::Key end)
    {
        QTableView& table = m_window->MarkerDock().Table();
        QWidget* editor = table.indexWidget(table.currentIndex());
        ASSERT_TRUE(qobject_cast<QLineEdit*>(editor)) << "a note open for writing";
        QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
        QApplication::sendEvent(editor, &key);
        QTest::keyClick(editor, end);
        QApplication::processEvents();  // Enter's note is taken in a queued call
    }
    // M in the trace with cursor A at ms.
    void AskMarker(uint64_t ms)
    {
        CTraceView& view = m_window->TraceDock().View();
        view.SetCursorMs(ms);
        QTest::keyClick(&view, Qt::Key_M);
    }
    std::string Notes()
    {
        QString text;
        for (const CMarker& marker : m_window->Markers().Markers())
            text += QString::fromStdString(clock_text(marker.ms)) + QLatin1Char(' ') + marker.note + QLatin1Char(';');
        return text.toStdString();
    }
    // Runs the command, answering the question about unsaved work; true when it was asked.
    bool Asked(QAction* command, QMessageBox::StandardButton answer)
    {
        bool asked = false;
        QTimer answerer;
        QObject::connect(&answerer, &QTimer::timeout, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                asked = true;
                box->button(answer)->click();
            }
        });
        answerer.start(5);
        command->trigger();
        return asked;
    }
    static int Passed(const QString& path)
    {
        CScenarioParser parser;
        EXPECT_TRUE(parser.ParseFile(path.toStdString())) << parser.ErrorMessage(path.toStdString());
        std::ostringstream out, err;
        CVerdictPrinter runner(out, err, CScenarioOptions{"saved.scn", "", false});
        EXPECT_EQ(runner.Run(parser.Steps()), CVerdictPrinter::ALL_HELD) << out.str() << err.str();
        return runner.Passed();
    }
};

// M, a note, Enter, →, M: the keys are the trace's again after the
// note, so the second M drops a second marker and leaves the first note be.
TEST_F(Markers, AfterANoteTheKeysGoBackToTheTrace)
{
    Step(5000);
    CTraceView& view = m_window->TraceDock().View();
    QApplication::setActiveWindow(m_window.get());
    view.setFocus();
    ASSERT_EQ(QApplication::focusWidget(), &view);
    AskMarker(1000);
    Type(QStringLiteral("first"), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), &view);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_M);
    Type(QStringLiteral("second"), Qt::Key_Escape);
    EXPECT_EQ(QApplication::focusWidget(), &view);
    ASSERT_EQ(m_window->Markers().Markers().size(), 2u) << Notes();
    EXPECT_EQ(m_window->Markers().Markers()[0].note, QStringLiteral("first")) << Notes();
    EXPECT_EQ(m_window->Markers().Markers()[1].note, QString()) << "Esc leaves the second one without a note";
}

TEST_F(Markers, NotedInTheDockSavedWithTheScenarioAndBackWhenItIsOpened)
{
    QTemporaryDir dir;
    const QString first = dir.filePath(QStringLiteral("first.scn"));
    const QString second = dir.filePath(QStringLiteral("second.scn"));
    Step(1500);
    AskMarker(1200);
    Type(QString::fromUtf8("팬이 # 늦게  켜짐"), Qt::Key_Return);
    AskMarker(700);
    Type(QStringLiteral("dropped"), Qt::Key_Escape);
    AskMarker(1200);
    Type(QStringLiteral("x"), Qt::Key_Escape);
    AskMarker(900);
    Type(QString(), Qt::Key_Escape);
    EXPECT_EQ(Notes(), "00:00.700 ;00:00.900 ;00:01.200 팬이 # 늦게  켜짐;")
        << "in time order, Esc leaves no note, one marker a ms";

    QTableView& table = m_window->MarkerDock().Table();
    table.setCurrentIndex(m_window->Markers().index(1, CMarkerList::TIME));
    QTest::keyClick(&table, Qt::Key_Delete);
    table.setCurrentIndex(m_window->Markers().index(0, CMarkerList::TIME));
    QTest::keyClick(&table, Qt::Key_Return);
    EXPECT_EQ(m_window->TraceDock().View().CursorMs(), 700u) << "Enter takes cursor A to the marker";
    EXPECT_EQ(m_window->Markers().rowCount(), 2) << "Delete removed the one selected";

    EXPECT_TRUE(Asked(m_window->Actions().newSession, QMessageBox::Cancel)) << "markers alone are unsaved work";
    QString error;
    ASSERT_TRUE(m_window->Files().SaveScenario(first, error)) << error.toStdString();
    EXPECT_FALSE(Asked(m_window->Actions().newSession, QMessageBox::Cancel)) << "saved: nothing to ask";
    EXPECT_EQ(m_window->Markers().rowCount(), 0) << "a new session has none";

    // Opened again: the markers are back; after the replay the session goes
    // on, and its scenario carries each marker once.
    m_window->Actions().speed[CFrameClock::SPEED_MAX]->trigger();
    ASSERT_TRUE(m_window->OpenScenario(first, error)) << error.toStdString();
    EXPECT_EQ(Notes(), "00:00.700 ;00:01.200 팬이 # 늦게  켜짐;");
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Driver().Running(); }, 5000));
    AskMarker(Now());
    Type(QStringLiteral("end"), Qt::Key_Return);
    ASSERT_TRUE(m_window->Files().SaveScenario(second, error)) << error.toStdString();
    QFile file(second);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray saved = file.readAll();
    EXPECT_EQ(saved.count(QByteArray("# marker ")), 3);
    EXPECT_EQ(saved.count(QByteArray(MARKERS_HEADER)), 1) << "one header, above the markers";
    EXPECT_TRUE(saved.trimmed().endsWith(" end")) << saved.toStdString();
    m_window.reset();  // one simulator at a time
    EXPECT_GT(Passed(first), 0) << "the runner reads the markers as comments";
    EXPECT_GT(Passed(second), Passed(first));
}

}  // namespace
