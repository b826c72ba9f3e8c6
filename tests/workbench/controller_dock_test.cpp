// The controller dock reads the firmware's table of watched variables and
// its eleven timers, and marks what changed in the last step.

#include <QHeaderView>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableView>

#include <algorithm>

#include "firmware/fw_watch.h"
#include "workbench/model/timers_model.h"
#include "workbench/model/variables_model.h"
#include "workbench/widgets/controller_dock.h"
#include "workbench_fixture.h"

namespace {

class ControllerDock : public CWorkbenchTest {
protected:
    QString Cell(QAbstractItemModel& model, int row, int column)
    {
        return model.data(model.index(row, column), Qt::DisplayRole).toString();
    }
};

TEST_F(ControllerDock, ShowsEveryWatchedVariableAndTimerAsTheTableHasIt)
{
    Step(1200);
    Click(CVirtualSimulator::POWER_KEY);
    Step(2000);
    CVariablesModel& variables = m_window->ControllerDock().Variables();
    ASSERT_EQ(variables.rowCount(), FW_VARIABLE_COUNT);
    for (int row = 0; row < FW_VARIABLE_COUNT; ++row) {
        const fw_variable& variable = fw_variables[row];
        const int64_t value = fw_variable_read(&variable);
        const qint64 shown = variable.width == 32 && !variable.is_signed ? static_cast<uint32_t>(value) : value;
        EXPECT_EQ(Cell(variables, row, CVariablesModel::NAME), QString::fromUtf8(variable.name));
        EXPECT_EQ(Cell(variables, row, CVariablesModel::VALUE).section(QLatin1Char(' '), 0, 0), QString::number(shown))
            << variable.name;
    }
    EXPECT_EQ(Cell(variables, 1, CVariablesModel::VALUE), QString::fromUtf8("3 파워 온 대기"))
        << "state_number with the state's name";

    CTimersModel& timers = m_window->ControllerDock().Timers();
    ASSERT_EQ(timers.rowCount(), FW_TIMER_COUNT);
    const uint32_t now = static_cast<uint32_t>(fw_variable_read(fw_variable_find("now_ms")));
    for (int row = 0; row < FW_TIMER_COUNT; ++row) {
        const soft_timer& timer = *fw_timers[row].timer;
        EXPECT_EQ(Cell(timers, row, CTimersModel::NAME), QString::fromUtf8(fw_timers[row].name));
        EXPECT_EQ(Cell(timers, row, CTimersModel::DUE), QString::number(timer.due_ms));
        if (timer.status == TIMER_RUNNING) {
            EXPECT_EQ(Cell(timers, row, CTimersModel::REMAINING),
                      QString::number(std::max<int64_t>(0, int64_t{timer.due_ms} - int64_t{now})))
                << fw_timers[row].name;
        }
    }

    // One ms later: the clock changed and is marked; a retry counter did not.
    Step(1);
    const int nowRow = static_cast<int>(fw_variable_find("now_ms") - fw_variables);
    const int retryRow = static_cast<int>(fw_variable_find("disk_retry_ls") - fw_variables);
    EXPECT_TRUE(variables.Marked(nowRow, CVariablesModel::VALUE));
    EXPECT_FALSE(variables.Marked(retryRow, CVariablesModel::VALUE));
    EXPECT_TRUE(variables.data(variables.index(nowRow, CVariablesModel::VALUE), Qt::FontRole).value<QFont>().bold());
}

// Shrunk to its narrowest, the dock still shows every number whole, in the
// bold of a marked cell: the widest value of each field's type fits.
TEST_F(ControllerDock, EveryNumberColumnFitsTheWidestValueOfItsType)
{
    m_window->resize(600, 400);
    QApplication::processEvents();
    QTableView* views[2] = {};  // the variables, the timers
    for (QTableView* view : m_window->ControllerDock().findChildren<QTableView*>())
        views[view->model() == &m_window->ControllerDock().Timers()] = view;
    ASSERT_TRUE(views[0] && views[1]);
    QFont bold = views[0]->font();
    bold.setBold(true);
    const auto fits = [&bold](const QTableView* view, int column, const QString& text) {
        return view->columnWidth(column) >= QFontMetrics(bold).horizontalAdvance(text) + 8;
    };
    const char* const timers[][2] = {{"255/255", "65535/65535"}, {"4294967295", "4294967295"}};
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(fits(views[1], CTimersModel::STEP + i, QString::fromUtf8(timers[i / 2][i % 2]))) << i;
    EXPECT_TRUE(fits(views[0], CVariablesModel::VALUE, QString::fromUtf8("4 파워 온 대기")));
    for (int row = 0; row < FW_VARIABLE_COUNT; ++row) {
        const fw_variable& variable = fw_variables[row];
        const qint64 most = (qint64{1} << (variable.width - variable.is_signed)) - 1;
        for (const qint64 value : {variable.is_signed ? -most - 1 : 0, most})
            EXPECT_TRUE(fits(views[0], CVariablesModel::VALUE, QString::number(value))) << variable.name << value;
    }
    EXPECT_LE(views[0]->horizontalHeader()->length(), views[0]->viewport()->width() + 1) << "every value in sight";
    EXPECT_TRUE(views[1]->horizontalHeader()->length() <= views[1]->viewport()->width() + 1 ||
                views[1]->horizontalScrollBar()->isVisible())
        << "the timers whole, or a scroll bar that says they are not";
}

// While the clock runs (frames of 100 ms, as at x1), a changed value stays
// marked for 0.4 s of wall time and then fades, though it changes no more.
TEST_F(ControllerDock, AMarkFadesAfterItsTimeWhileTheClockRuns)
{
    int64_t wallMs = 0;
    CControllerDock& dock = m_window->ControllerDock();
    CVariablesModel& variables = dock.Variables();
    variables.m_wallClock = [&wallMs] { return wallMs; };
    const QModelIndex cell =
        variables.index(static_cast<int>(fw_variable_find("state_number") - fw_variables), CVariablesModel::VALUE);
    const auto frame = [&] {
        Session().RunUntil(Now() + 100);
        wallMs += 100;
        dock.FrameDone(Now(), true);
    };
    Step(1200);
    Click(CVirtualSimulator::POWER_KEY);
    const int32_t before = Session().StateNumber();
    for (int i = 0; i < 30 && Session().StateNumber() == before; ++i)
        frame();
    ASSERT_NE(Session().StateNumber(), before);
    QSignalSpy announced(&variables, &QAbstractItemModel::dataChanged);
    const bool marked[] = {true, true, true, false, false, false};  // 100 .. 600 ms after the change
    for (size_t i = 0; i < std::size(marked); ++i) {
        frame();
        EXPECT_EQ(variables.data(cell, Qt::FontRole).value<QFont>().bold(), marked[i]) << (i + 1) * 100 << " ms";
    }
    EXPECT_TRUE(std::any_of(announced.begin(), announced.end(), [&](const QList<QVariant>& args) {
        return args[0].value<QModelIndex>() == cell;
    })) << "the view was told the mark went";
}

}  // namespace
