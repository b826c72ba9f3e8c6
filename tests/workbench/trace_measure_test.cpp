// The trace measured on as a tester does, through the real dock and view:
// the green lamp blinking 300 ms on, 300 ms off with the cover open gives
// known edges, pulse widths and periods to find with the cursors and keys.

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>

#include "workbench/model/time_axis.h"
#include "workbench/model/time_entry.h"
#include "workbench/widgets/trace_dock.h"
#include "workbench/widgets/trace_view.h"
#include "workbench/widgets/trace_view_style.h"
#include "workbench/widgets/workbench_actions.h"
#include "workbench/workbench_fixture.h"

namespace {

class TraceMeasure : public CWorkbenchTest {
protected:
    CTraceView& View() { return m_window->TraceDock().View(); }
    int Row(const char* name)
    {
        for (int row = 0; row < View().RowCount(); ++row)
            if (View().Layout().rows[row] == QLatin1String(name))
                return row;
        return -1;
    }
    void ClickName(const char* name)
    {
        QTest::mouseClick(&View(), Qt::LeftButton, {}, QPoint(10, View().RowTop(Row(name)) + 5));
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) { QTest::keyClick(&View(), key, modifiers); }
    // The standby's cover opened: the green lamp blinks from then on.
    void OpenTheCover()
    {
        Step(1200);
        Click(CVirtualSimulator::POWER_KEY);
        Step(3000);
        Click(CVirtualSimulator::COVER);
        Step(2500);
    }
    // The height of the line drawn in a row of steps, at x.
    int LineYAt(const QImage& image, int row, int x)
    {
        for (int y = View().RowTop(row); y < View().RowTop(row) + trace_view_style::STEP_ROW; ++y)
            if (image.pixelColor(x, y) == trace_view_style::WORD_EDGE)
                return y;
        return -1;
    }
};

TEST_F(TraceMeasure, CursorsEdgesPulseAndZoomThroughTheRealDockAndView)
{
    OpenTheCover();
    CTraceDock& dock = m_window->TraceDock();
    ClickName("GREEN_LED");
    ASSERT_EQ(View().SelectedChannel(), View().RowChannel(Row("GREEN_LED")));

    QTest::keyClicks(&dock.GoToBox(), QStringLiteral("0:03"));
    QTest::keyClick(&dock.GoToBox(), Qt::Key_Return);
    EXPECT_EQ(View().CursorMs(), 3000u);
    Key(Qt::Key_Right, Qt::ControlModifier);
    const uint64_t rise = View().CursorMs();
    EXPECT_EQ(View().ValueText(Row("GREEN_LED")), QStringLiteral("1")) << rise;
    Key(Qt::Key_B);
    Key(Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(View().CursorMs() - rise, 300u) << "the lamp is lit 300 ms";
    Key(Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(View().ValueTextB(Row("GREEN_LED")), QStringLiteral("1"));
    EXPECT_EQ(View().ValueText(Row("GREEN_LED")), QStringLiteral("1"));
    EXPECT_TRUE(dock.Readout().contains(QString::fromUtf8("Δt 600 ms"))) << dock.Readout().toStdString();
    EXPECT_TRUE(dock.Readout().contains(QString::fromUtf8("GREEN_LED 폭 300 ms · 주기 600 ms")))
        << dock.Readout().toStdString();
    Key(Qt::Key_Left, Qt::ControlModifier);
    EXPECT_EQ(View().CursorMs() - rise, 300u);
    EXPECT_TRUE(dock.Readout().contains(QString::fromUtf8("Δt 300 ms"))) << dock.Readout().toStdString();

    QSignalSpy asked(&View(), &CTraceView::MarkerAsked);
    Key(Qt::Key_M);
    ASSERT_EQ(asked.size(), 1);
    EXPECT_EQ(asked.at(0).at(0).toULongLong(), rise + 300);
    View().SetDivergence(true, 4000, QStringLiteral("GREEN_LED"));
    Key(Qt::Key_D);
    EXPECT_EQ(View().CursorMs(), 4000u);

    // Ctrl+G: a unit in capitals reads; a time past now stops at now and says so on the status line; one
    // that does not read moves nothing, marked and said.
    const QString now = QString::fromStdString(CTimeAxis::Label(Now(), 1));
    const struct {
        const char* typed;
        uint64_t ms;
        QString message;
    } goTo[] = {
        {"1:7x", 4000, QString::fromUtf8("시간 «1:7x»을(를) 읽을 수 없어 옮기지 않았습니다")},
        {"2500 MS", 2500, QString()},
        {"20 S", Now(), QString::fromUtf8("20 S은(는) 아직 오지 않았습니다: 지금(%1)까지만 있어").arg(now)},
        {"0:02.5", 2500, QString()},
        {"2 Min", Now(), QString::fromUtf8("지금(%1)까지만").arg(now)},
    };
    for (const auto& g : goTo) {
        m_window->Actions().goToTime->trigger();
        QTest::keyClicks(&dock.GoToBox(), QString::fromUtf8(g.typed));
        QTest::keyClick(&dock.GoToBox(), Qt::Key_Return);
        const QString message = m_window->statusBar()->currentMessage();
        EXPECT_EQ(View().CursorMs(), g.ms) << g.typed;
        EXPECT_EQ(dock.GoToBox().styleSheet().isEmpty(), g.ms != 4000) << g.typed << ": marked when refused";
        EXPECT_TRUE(g.message.isEmpty() ? message.isEmpty() : message.contains(g.message))
            << g.typed << ": " << message.toStdString();
    }
    // From a hidden dock, paused: the view takes the present moment as the dock opens.
    dock.hide();
    Step(700);
    m_window->Actions().goToTime->trigger();
    QTest::keyClicks(&dock.GoToBox(), QStringLiteral("20 S"));
    QTest::keyClick(&dock.GoToBox(), Qt::Key_Return);
    EXPECT_EQ(View().CursorMs(), Now()) << "now as the dock opened";

    QTest::mouseClick(&dock.FitButton(), Qt::LeftButton);
    EXPECT_NEAR(View().SpanMs(), static_cast<double>(Now()), 1);
    EXPECT_TRUE(View().Following());
    const QImage fitted = View().grab().toImage();
    const int right = View().width() - 3;
    const int left = right - 3 * (View().width() - 400) / 4;
    EXPECT_GE(LineYAt(fitted, Row("run_sec"), right), 0);
    EXPECT_LT(LineYAt(fitted, Row("run_sec"), right), LineYAt(fitted, Row("run_sec"), left))
        << "run_sec drawn as steps rising with its value";

    const double span = View().SpanMs();
    const int waveWidth = View().width() - trace_view_style::WAVE_LEFT;
    QTest::mousePress(&View(), Qt::LeftButton, {}, QPoint(right - 150, 5));
    QTest::mouseMove(&View(), QPoint(right - 50, 5));
    QTest::mouseRelease(&View(), Qt::LeftButton, {}, QPoint(right - 50, 5));
    EXPECT_NEAR(View().SpanMs(), span * 100 / waveWidth, span / waveWidth);

    Key(Qt::Key_Escape);
    EXPECT_FALSE(View().HasCursor());
    EXPECT_FALSE(View().HasCursorB());
}

TEST_F(TraceMeasure, RowsHiddenAndMovedStaySoInANewSessionAndComeBackFromTheMenu)
{
    ClickName("disk_position");
    Key(Qt::Key_Up, Qt::AltModifier);
    EXPECT_EQ(Row("disk_position") + 1, Row("run_sec"));
    ClickName("MAIN_FAN");
    Key(Qt::Key_Delete);
    EXPECT_EQ(Row("MAIN_FAN"), -1);

    // With cursor A reading the selected row, a new session once read the
    // old session's trace, freed already, when the markers were cleared.
    QTest::mouseClick(&View(), Qt::LeftButton, {}, QPoint(View().width() - 5, View().RowTop(Row("run_sec")) + 3));
    m_window->Actions().newSession->trigger();
    EXPECT_EQ(Row("disk_position") + 1, Row("run_sec"));
    EXPECT_EQ(Row("MAIN_FAN"), -1);

    QTimer::singleShot(0, [] {
        QMenu* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        menu->actions().last()->trigger();
        menu->close();
    });
    const QPoint at(10, View().RowTop(0) + 5);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, View().mapToGlobal(at));
    QApplication::sendEvent(&View(), &event);
    EXPECT_GT(Row("MAIN_FAN"), Row("DISK_MOT_A")) << "shown again in its place";

    CTraceLayout layout = View().Layout();
    layout.rows = {QStringLiteral("BUZZER"), QStringLiteral("GONE"), QStringLiteral("state_number")};
    EXPECT_EQ(View().ApplyLayout(layout), QStringList{QStringLiteral("GONE")});
    EXPECT_EQ(View().Layout().rows, (QStringList{QStringLiteral("BUZZER"), QStringLiteral("state_number")}));
}

TEST(TimeEntry, WhatATesterTypes)
{
    const struct {
        const char* text;
        std::optional<uint64_t> ms;
    } CASES[] = {
        {"1:23.456", 83456}, {"83.456", 83456}, {"83.5 s", 83500},    {"250 ms", 250},
        {"2 min", 120000},   {"1 h", 3600000},  {"1:02:03", 3723000}, {" 0:03 ", 3000},
        {"1:60", {}},        {"1:7x", {}},      {"-5", {}},           {"", {}},
        {"20 S", 20000},     {"250 MS", 250},   {"2 Min", 120000},    {"1 H", 3600000},
        {"3 mS", 3},         {"1 hh", {}},      {"5 weeks", {}},      {"99999999999999 h", {}},
    };
    for (const auto& c : CASES)
        EXPECT_EQ(parse_time_entry(QString::fromUtf8(c.text)), c.ms) << c.text;
}

}  // namespace
