// The trace dock's menu of variables, used as a tester uses it: each pick
// traces the variable and ticks and disables its item, and the menu stays
// whole (its handler once deleted the very item it was running from). A
// variable picked mid-run has no history before it joined: its row is
// hatched and reads "추적 안 됨" there, and the export leaves it out until then.

#include <QMenu>
#include <QTemporaryDir>
#include <QToolButton>

#include <cstdlib>

#include "trace/vcd_reader.h"
#include "workbench/widgets/trace_view.h"
#include "workbench/widgets/trace_view_style.h"

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

TEST_F(TraceDock, AVariablePickedMidRunIsTracedFromItsJoinOnInTheViewAndTheExport)
{
    Step(3000);
    const uint64_t joinMs = Now() - 1;  // the ms the last sample was stamped with
    QMenu* menu = VariablesMenu(m_window->TraceDock());
    ASSERT_NE(menu, nullptr);
    for (QAction* action : menu->actions())
        if (action->text() == QStringLiteral("state_index"))
            action->trigger();
    Step(3000);
    CTraceView& view = m_window->TraceDock().View();
    int row = view.RowCount() - 1;
    while (row >= 0 && QString::fromStdString(Session().Trace().Buffer().Name(view.RowChannel(row))) != "state_index")
        --row;
    ASSERT_GE(row, 0);
    view.SetCursorMs(joinMs - 1);
    EXPECT_EQ(view.ValueText(row), QString::fromUtf8("추적 안 됨"));
    view.SetCursorMs(joinMs);
    EXPECT_NE(view.ValueText(row), QString::fromUtf8("추적 안 됨"));

    // The hatch fills the row's left half (before the join), none of its right half.
    view.RemoveCursor();
    view.ZoomTo(0, 2.0 * static_cast<double>(joinMs));
    const QImage image = view.grab().toImage();
    const int left = trace_view_style::WAVE_LEFT;
    const int middle = (left + image.width()) / 2;
    int hatchedBefore = 0, hatchedAfter = 0;
    for (int y = view.RowTop(row) + 3; y < view.RowTop(row) + 12; ++y)
        for (int x = left + 2; x < image.width() - 2; ++x)
            if (image.pixelColor(x, y) == trace_view_style::NOT_TRACED && std::abs(x - middle) > 3)
                ++(x < middle ? hatchedBefore : hatchedAfter);
    EXPECT_GT(hatchedBefore, 50);
    EXPECT_EQ(hatchedAfter, 0);

    QTemporaryDir dir;
    const std::string path = dir.filePath(QStringLiteral("late.vcd")).toStdString();
    std::string error;
    ASSERT_TRUE(Session().Trace().ExportVcd(path, Now(), error)) << error;
    CVcdReader reader;
    ASSERT_TRUE(reader.ParseFile(path, error)) << error;
    const CVcdReader::CVariable* late = reader.Find("state_index");
    const CVcdReader::CVariable* state = reader.Find("state_number");
    ASSERT_TRUE(late && state);
    EXPECT_FALSE(CVcdReader::Traced(*late, joinMs - 1));
    EXPECT_TRUE(CVcdReader::Traced(*late, joinMs));
    EXPECT_TRUE(CVcdReader::Traced(*state, 0));
}

}  // namespace
