// The trace dock's menu of variables, used as a tester uses it: each pick
// traces the variable and ticks and disables its item, and the menu stays
// whole (its handler once deleted the very item it was running from).

#include <QMenu>
#include <QToolButton>

#include "workbench/widgets/trace_dock.h"
#include "workbench/workbench_fixture.h"

namespace {

class TraceDock : public CWorkbenchTest {};

QMenu* VariablesMenu(CTraceDock& dock)
{
    for (QToolButton* button : dock.findChildren<QToolButton*>())
        if (button->text() == QString::fromUtf8("변수 추가"))
            return button->menu();
    return nullptr;
}

TEST_F(TraceDock, EachVariablePickedFromTheMenuIsTracedAndTicked)
{
    QMenu* menu = VariablesMenu(m_window->TraceDock());
    ASSERT_NE(menu, nullptr);
    const int items = static_cast<int>(menu->actions().size());
    ASSERT_GT(items, 2);
    for (int i = 0; i < items; ++i) {
        QAction* action = menu->actions().at(i);
        if (!action->isEnabled())
            continue;
        const QString name = action->text();
        action->trigger();
        ASSERT_EQ(menu->actions().size(), items) << name.toStdString();
        EXPECT_TRUE(menu->actions().at(i)->isChecked()) << name.toStdString();
        EXPECT_FALSE(menu->actions().at(i)->isEnabled()) << name.toStdString();
        Step(10);
    }
}

}  // namespace
