// The trace view's mouse and keys.
//
// Mouse: the wheel zooms around the pointer, Shift+wheel or a right-button
// drag pans; a left click (or drag) places cursor A and selects the row
// under it, Shift+click places cursor B (before 0:00, where nothing ran,
// neither); a drag along the time axis, or Ctrl+drag anywhere, zooms to the
// span it covers. On the names, a click selects a row and the right button
// offers to hide or move it.
//
// Keys, with the focus: ←/→ move cursor A (Shift: ten times as far),
// Ctrl+←/→ take it to the previous or next edge of the selected row, ↑/↓
// select another row, Alt+↑/↓ move the selected row, Delete hides it; B puts
// cursor B where A stands, M drops a marker at A, D goes to the first
// divergence from the baseline, F zooms to fit the whole run, +/- zoom,
// End follows the clock again and Esc takes the cursors away.

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

#include "workbench/widgets/trace_view.h"
#include "workbench/widgets/trace_view_style.h"

using namespace trace_view_style;

void CTraceView::wheelEvent(QWheelEvent* event)
{
    const double notches = event->angleDelta().y() / 120.0;
    if (notches == 0)
        return;
    if (event->modifiers() & Qt::ShiftModifier) {
        SetEndMs(EndMs() - notches * m_spanMs / 10);
        Changed();
    } else {
        ZoomAt(std::pow(0.8, notches), event->position().x());
    }
    event->accept();
}

void CTraceView::mousePressEvent(QMouseEvent* event)
{
    m_dragFrom = event->position().toPoint();
    m_dragEndPx = EndPx();
    m_placing = false;
    if (event->button() != Qt::LeftButton)
        return;
    const int row = RowAt(m_dragFrom.y());
    if (row >= 0)
        SelectRow(row);
    if (m_dragFrom.x() < WaveLeft())
        return;
    m_selecting = m_dragFrom.y() < AXIS_HEIGHT || (event->modifiers() & Qt::ControlModifier);
    m_selectTo = m_dragFrom.x();
    // Before 0:00 nothing was run: a click there leaves the cursors where they were.
    m_placing = !m_selecting && std::round(MsAt(m_dragFrom.x())) >= 0;
    if (m_selecting)
        Changed();
    else if (!m_placing)
        return;
    else if (event->modifiers() & Qt::ShiftModifier)
        SetCursorBMs(MomentAt(m_dragFrom.x()));
    else
        SetCursorMs(MomentAt(m_dragFrom.x()));
}

void CTraceView::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (event->buttons() & Qt::LeftButton) {
        if (m_selecting) {
            m_selectTo = std::max(at.x(), WaveLeft());
            Changed();
        } else if (m_placing) {
            if (event->modifiers() & Qt::ShiftModifier)
                SetCursorBMs(MomentAt(at.x()));
            else
                SetCursorMs(MomentAt(at.x()));
        }
    } else if (event->buttons() & Qt::RightButton) {
        SetEndMs(static_cast<double>(m_dragEndPx - (at.x() - m_dragFrom.x())) * MsPerPx());
        Changed();
    }
}

// A selection narrower than a few pixels is a click on the axis, not a zoom.
void CTraceView::mouseReleaseEvent(QMouseEvent* event)
{
    if (!m_selecting || event->button() != Qt::LeftButton)
        return;
    m_selecting = false;
    m_selectTo = std::max(static_cast<int>(event->position().x()), WaveLeft());
    if (std::abs(m_selectTo - m_dragFrom.x()) >= 4)
        ZoomTo(MsAt(m_dragFrom.x()), MsAt(m_selectTo));
    else
        Changed();
}

void CTraceView::contextMenuEvent(QContextMenuEvent* event)
{
    const int row = RowAt(event->pos().y());
    if (event->pos().x() >= WaveLeft() || row < 0)
        return;
    SelectRow(row);
    QMenu menu(this);
    menu.addAction(QString::fromUtf8("행 숨기기 (Delete)"), this, [this, row] { HideRow(row); });
    menu.addAction(QString::fromUtf8("위로 (Alt+↑)"), this, [this, row] { MoveRow(row, -1); });
    menu.addAction(QString::fromUtf8("아래로 (Alt+↓)"), this, [this, row] { MoveRow(row, 1); });
    menu.addSeparator();
    menu.addAction(QString::fromUtf8("모든 행 보이기"), this, [this] { ShowAllRows(); });
    menu.exec(event->globalPos());
}

void CTraceView::keyPressEvent(QKeyEvent* event)
{
    if (NavigationKey(event) || RowKey(event))
        event->accept();
    else
        QWidget::keyPressEvent(event);
}

bool CTraceView::NavigationKey(QKeyEvent* event)
{
    const double pixels = event->modifiers() & Qt::ShiftModifier ? 10 : 1;
    const uint64_t move = static_cast<uint64_t>(std::max(1.0, std::round(pixels * MsPerPx())));
    const uint64_t at = m_cursor ? m_cursorMs : m_nowMs;
    const bool edge = event->modifiers() & Qt::ControlModifier;
    switch (event->key()) {
    case Qt::Key_Left:
        edge ? static_cast<void>(JumpToEdge(-1)) : SetCursorMs(at > move ? at - move : 0);
        return true;
    case Qt::Key_Right:
        edge ? static_cast<void>(JumpToEdge(1)) : SetCursorMs(at + move);
        return true;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        Zoom(0.5);
        return true;
    case Qt::Key_Minus:
        Zoom(2);
        return true;
    case Qt::Key_F:
        ZoomToFit();
        return true;
    case Qt::Key_End:
        Follow();
        return true;
    case Qt::Key_B:
        SetCursorBMs(at);
        return true;
    case Qt::Key_M:
        emit MarkerAsked(at);
        return true;
    case Qt::Key_D:
        if (m_diverged)
            GoTo(m_divergenceMs);
        return true;
    case Qt::Key_Escape:
        RemoveCursor();
        return true;
    default:
        return false;
    }
}

bool CTraceView::RowKey(QKeyEvent* event)
{
    const int row = SelectedRow();
    const bool move = event->modifiers() & Qt::AltModifier;
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down: {
        const int by = event->key() == Qt::Key_Up ? -1 : 1;
        if (move && row >= 0) {
            MoveRow(row, by);
        } else {
            SelectRow(row < 0 ? 0 : std::clamp(row + by, 0, RowCount() - 1));
        }
        return true;
    }
    case Qt::Key_Delete:
        if (row >= 0) {
            HideRow(row);
            SelectRow(std::min(row, RowCount() - 1));
        }
        return true;
    default:
        return false;
    }
}
