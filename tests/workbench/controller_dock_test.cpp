// The controller dock reads the firmware's table of watched variables and
// its eleven timers, and marks what changed in the last step.

#include <algorithm>

#include "firmware/fw_watch.h"
#include "workbench/widgets/controller_dock.h"
#include "workbench/model/timers_model.h"
#include "workbench/model/variables_model.h"
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
        EXPECT_EQ(Cell(variables, row, CVariablesModel::VALUE).section(QLatin1Char(' '), 0, 0),
                  QString::number(shown))
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

}  // namespace
