#include "workbench/widgets/controller_dock.h"

#include <QEvent>
#include <QHeaderView>
#include <QStyle>

#include <QSplitter>
#include <QTableView>
#include <algorithm>

#include "workbench/model/timers_model.h"
#include "workbench/model/variables_model.h"
#include "workbench/widgets/watch_delegate.h"

CControllerDock::CControllerDock(QWidget* parent)
    : QDockWidget(QString::fromUtf8("제어기"), parent),
      m_variables(new CVariablesModel(this)),
      m_timers(new CTimersModel(this))
{
    setObjectName(QStringLiteral("controllerDock"));
    QSplitter* split = new QSplitter(Qt::Vertical, this);
    QTableView* variables = MakeView(m_variables, split);
    QTableView* timers = MakeView(m_timers, split);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 2);
    setWidget(split);
    m_variables->Refresh(false);
    m_timers->Refresh(false);
    // Sized once for the widest value each column can hold, in the bold of a
    // marked cell: sizing them every frame would cost more than the frame.
    // The variables' values always stay in sight; the timers' table, wider,
    // scrolls sideways in a narrow dock.
    const CWidths values = FitColumns(*variables, *m_variables);
    const CWidths times = FitColumns(*timers, *m_timers);
    m_naturalWidth = std::max(values.natural, times.natural);
    widget()->setMinimumWidth(values.least);
    m_views[0] = variables;
    m_views[1] = timers;
    for (QTableView* view : m_views)
        view->viewport()->installEventFilter(this);
    connect(this, &QDockWidget::visibilityChanged, this, [this](bool visible) {
        if (visible) {
            m_variables->Refresh(false);
            m_timers->Refresh(false);
        }
    });
}

// The numbers keep their width; the names' column takes what is left over,
// and when the dock is narrow gives way first (its names end in "…").
CControllerDock::CWidths CControllerDock::FitColumns(QTableView& view, const CWatchModel& model)
{
    view.resizeColumnsToContents();
    QFont bold = view.font();
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    const int room = view.frameWidth() * 2 + view.style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    CWidths widths{room, room + NAME_LEAST};
    for (int column = 0; column < model.columnCount(); ++column) {
        const int needed = metrics.horizontalAdvance(model.Widest(column, metrics)) + CWatchDelegate::PADDING;
        view.setColumnWidth(column, std::max(view.columnWidth(column), needed));
        widths.natural += view.columnWidth(column);
        if (column > 0)
            widths.least += view.columnWidth(column);
    }
    QHeaderView* header = view.horizontalHeader();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(0, QHeaderView::Stretch);
    header->setMinimumSectionSize(std::min(header->minimumSectionSize(), NAME_LEAST));
    return widths;
}

// A stretched column keeps its width when the other columns leave it no
// room: the names, once wide in a wide dock (floating, say), would push
// the numbers out of sight in a narrow one. They give way to their least.
void CControllerDock::FitNames(QTableView& view)
{
    QHeaderView* header = view.horizontalHeader();
    const int room = view.viewport()->width() - (header->length() - header->sectionSize(0));
    if (room < header->sectionSize(0))
        header->resizeSection(0, std::max(static_cast<int>(NAME_LEAST), room));
}

bool CControllerDock::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Resize)
        for (QTableView* view : m_views)
            if (view && watched == view->viewport())
                FitNames(*view);
    return QDockWidget::eventFilter(watched, event);
}

QTableView* CControllerDock::MakeView(QAbstractItemModel* model, QWidget* parent)
{
    QTableView* view = new QTableView(parent);
    view->setModel(model);
    view->setItemDelegate(new CWatchDelegate(view));
    view->verticalHeader()->hide();
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 4);
    view->setSelectionMode(QAbstractItemView::NoSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setFocusPolicy(Qt::NoFocus);
    view->setAlternatingRowColors(true);
    return view;
}

void CControllerDock::FrameDone(uint64_t nowMs, bool running)
{
    if (isHidden() || (nowMs == m_readAtMs && !running))
        return;  // shown again, it reads afresh
    m_readAtMs = nowMs;
    m_variables->Refresh(running);
    m_timers->Refresh(running);
}

void CControllerDock::SessionRestarted()
{
    m_variables->ClearMarks();
    m_timers->ClearMarks();
    m_readAtMs = UINT64_MAX;
}
