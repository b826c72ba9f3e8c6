#include "workbench/widgets/controller_dock.h"

#include <QHeaderView>

#include <algorithm>
#include <QSplitter>
#include <QTableView>

#include "workbench/model/timers_model.h"
#include "workbench/widgets/watch_delegate.h"
#include "workbench/model/variables_model.h"

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
    // Sized once to what they hold: sizing them every frame would cost more than the frame.
    variables->resizeColumnsToContents();
    timers->resizeColumnsToContents();
    const QFontMetrics metrics(timers->font());
    const struct {
        int column;
        const char* widest;
    } widest[] = {{CTimersModel::STATUS, "실행"}, {CTimersModel::STEP, "00/00"}, {CTimersModel::REPEATS, "00/6000"},
                  {CTimersModel::DUE, "000000"}};
    for (const auto& w : widest)
        timers->setColumnWidth(w.column, std::max(timers->columnWidth(w.column),
                                                  metrics.horizontalAdvance(QString::fromUtf8(w.widest)) + 14));
    connect(this, &QDockWidget::visibilityChanged, this, [this](bool visible) {
        if (visible) {
            m_variables->Refresh(false);
            m_timers->Refresh(false);
        }
    });
}

QTableView* CControllerDock::MakeView(QAbstractItemModel* model, QWidget* parent)
{
    QTableView* view = new QTableView(parent);
    view->setModel(model);
    view->setItemDelegate(new CWatchDelegate(view));
    view->verticalHeader()->hide();
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 4);
    view->horizontalHeader()->setStretchLastSection(true);
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
