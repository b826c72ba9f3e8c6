// The window's layout: made small and large again, the docks get the room
// back; the layout and the traced variables are kept between runs, the
// speed is not; "reset layout" brings the first layout back.

#include <QAction>
#include <QHeaderView>
#include <QMenu>
#include <QScrollBar>
#include <QTableView>
#include <QToolButton>

#include <functional>

#include "workbench/widgets/controller_dock.h"
#include "workbench/widgets/trace_dock.h"
#include "workbench/widgets/trace_view.h"
#include "workbench/widgets/workbench_actions.h"
#include "workbench_fixture.h"

namespace {

class WindowLayout : public CWorkbenchTest {};

TEST_F(WindowLayout, MadeSmallAndLargeAgainTheDocksGetTheRoomBack)
{
    EXPECT_LE(m_window->minimumSizeHint().width(), 1366 - 10) << "fits a 1366 x 768 screen with its frame";
    for (const QSize size : {QSize(1560, 960), QSize(1366, 768), QSize(1024, 700), QSize(1560, 960)}) {
        m_window->resize(size);
        QApplication::processEvents();
        const std::string at = std::to_string(size.width()) + "x" + std::to_string(size.height());
        EXPECT_LE(m_window->centralWidget()->width(), 520) << at << ": no empty grey beside the panel";
        const CTraceView& trace = m_window->TraceDock().View();
        EXPECT_GE(trace.width(), trace.minimumSizeHint().width()) << at;
        EXPECT_LE(trace.width(), trace.parentWidget()->width()) << at << ": the clock's end of the trace in sight";
        for (const QTableView* table : m_window->ControllerDock().findChildren<QTableView*>())
            EXPECT_TRUE(table->horizontalHeader()->length() <= table->viewport()->width() + 1 ||
                        table->horizontalScrollBar()->isVisible())
                << at << ": every column in sight, or a scroll bar that says it is not";
    }
    EXPECT_GE(m_window->TraceDock().width() + m_window->ControllerDock().width(), 1560 - 520 - 20)
        << "large again: the docks share the room";
}

TEST_F(WindowLayout, TheLayoutAndTracedVariablesAreKeptAndTheSpeedIsNot)
{
    CWorkbenchActions& actions = m_window->Actions();
    actions.speed[2]->trigger();
    m_window->TraceDock().toggleViewAction()->trigger();
    QToolButton* add = nullptr;
    for (QToolButton* button : m_window->TraceDock().findChildren<QToolButton*>())
        if (button->text() == QString::fromUtf8("변수 추가"))
            add = button;
    ASSERT_NE(add, nullptr);
    for (QAction* variable : add->menu()->actions())
        if (variable->text() == QStringLiteral("heater_pulses"))
            variable->trigger();
    actions.quit->trigger();

    m_window.reset();
    m_window = std::make_unique<CWorkbenchWindow>(SettingsFile());
    m_window->show();
    EXPECT_TRUE(m_window->TraceDock().isHidden()) << "the docks as they were";
    EXPECT_EQ(m_window->TraceDock().Chosen(), QStringList{QStringLiteral("heater_pulses")});
    EXPECT_EQ(m_window->Driver().Clock().SpeedIndex(), CFrameClock::SPEED_ONE) << "the speed starts at x1";

    m_window->Actions().resetLayout->trigger();
    EXPECT_FALSE(m_window->TraceDock().isHidden()) << "reset layout shows every dock again";
    EXPECT_FALSE(m_window->ControllerDock().isHidden());
}

// A dock floated, or the window made small, and then 보기 › 배치 초기화: the controller's tables show
// every column again, as in the first layout.
TEST_F(WindowLayout, ResetLayoutShowsEveryColumnOfTheControllerAsAtFirst)
{
    QApplication::processEvents();
    const QList<QTableView*> tables = m_window->ControllerDock().findChildren<QTableView*>();
    ASSERT_EQ(tables.size(), 2);
    const auto shown = [&] {
        QStringList widths;
        for (const QTableView* table : tables) {
            EXPECT_TRUE(table->horizontalHeader()->length() <= table->viewport()->width() + 1 ||
                        table->columnWidth(0) == CControllerDock::NAME_LEAST)
                << "every column in sight, or the names given way first";
            for (int c = 0; c < table->model()->columnCount(); ++c)
                widths << QString::number(table->columnWidth(c));
        }
        return widths.join(' ').toStdString() + " in a dock " + std::to_string(m_window->ControllerDock().width());
    };
    const std::string first = shown();
    const std::function<void()> changes[] = {
        [&] { m_window->ControllerDock().setFloating(true); },
        [&] { m_window->TraceDock().setFloating(true); },
        [&] {
            m_window->ControllerDock().setFloating(true);
            m_window->ControllerDock().resize(1400, 600);
        },
        [&] { m_window->resize(1024, 700); },
    };
    for (size_t i = 0; i < std::size(changes); ++i) {
        changes[i]();
        QApplication::processEvents();
        m_window->Actions().resetLayout->trigger();
        QApplication::processEvents();
        EXPECT_FALSE(m_window->ControllerDock().isFloating() || m_window->TraceDock().isFloating()) << i;
        EXPECT_EQ(shown(), first) << "change " << i;
    }
}

}  // namespace
