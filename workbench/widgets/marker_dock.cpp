#include "workbench/widgets/marker_dock.h"

#include <QAbstractItemDelegate>
#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QTableView>
#include <QVBoxLayout>

#include "workbench/model/marker_list.h"

CMarkerDock::CMarkerDock(CMarkerList& markers, QWidget* parent)
    : QDockWidget(QString::fromUtf8("마커"), parent), m_markers(markers)
{
    setObjectName(QStringLiteral("markerDock"));
    QWidget* body = new QWidget(this);
    QVBoxLayout* layout = new QVBoxLayout(body);
    layout->setContentsMargins(2, 2, 2, 2);
    m_hint = new QLabel(QString::fromUtf8("추적에서 M을 누르면 커서 A의 순간에 마커가 놓입니다."), body);
    m_hint->setWordWrap(true);
    m_table = new QTableView(body);
    m_table->setModel(&markers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                             QAbstractItemView::AnyKeyPressed);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setColumnWidth(CMarkerList::TIME,
                            m_table->fontMetrics().horizontalAdvance(QStringLiteral("000:00.000")) + 16);
    layout->addWidget(m_hint);
    layout->addWidget(m_table, 1);
    setWidget(body);
    body->setMinimumHeight(96);

    m_table->installEventFilter(this);
    connect(m_table, &QAbstractItemView::activated, this, &CMarkerDock::GoTo);
    connect(m_table, &QAbstractItemView::doubleClicked, this, &CMarkerDock::GoTo);
    connect(&markers, &CMarkerList::Changed, this, &CMarkerDock::ShowHint);
    connect(m_table->itemDelegate(), &QAbstractItemDelegate::closeEditor, this, [this] {
        if (m_returnFocus)
            m_returnFocus->setFocus();
        m_returnFocus = nullptr;
    });
    ShowHint();
}

void CMarkerDock::Drop(uint64_t ms)
{
    const int row = m_markers.Add(ms);
    m_returnFocus = QApplication::focusWidget();
    show();
    raise();
    const QModelIndex note = m_markers.index(row, CMarkerList::NOTE);
    m_table->setCurrentIndex(note);
    m_table->scrollTo(note);
    m_table->setFocus();
    m_table->edit(note);
}

void CMarkerDock::GoTo(const QModelIndex& index)
{
    if (index.isValid())
        emit GoToAsked(m_markers.Markers()[index.row()].ms);
}

// Delete on the table itself: while a note is edited, the key belongs to the note.
bool CMarkerDock::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_table && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        RemoveSelected();
        return true;
    }
    return QDockWidget::eventFilter(watched, event);
}

void CMarkerDock::RemoveSelected()
{
    const QModelIndex current = m_table->currentIndex();
    if (current.isValid())
        m_markers.Remove(current.row());
}

void CMarkerDock::ShowHint() { m_hint->setVisible(m_markers.rowCount() == 0); }
