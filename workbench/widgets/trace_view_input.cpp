// The trace view's mouse and keys: zoom, pan, cursor.

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>

#include "workbench/widgets/trace_view.h"

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
    if (event->button() == Qt::LeftButton && m_dragFrom.x() >= WaveLeft())
        SetCursorMs(static_cast<uint64_t>(std::max(0.0, std::round(MsAt(m_dragFrom.x())))));
}

void CTraceView::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (event->buttons() & Qt::LeftButton) {
        SetCursorMs(static_cast<uint64_t>(std::max(0.0, std::round(MsAt(at.x())))));
    } else if (event->buttons() & Qt::RightButton) {
        SetEndMs(static_cast<double>(m_dragEndPx - (at.x() - m_dragFrom.x())) * MsPerPx());
        Changed();
    }
}

void CTraceView::keyPressEvent(QKeyEvent* event)
{
    const double pixels = event->modifiers() & Qt::ShiftModifier ? 10 : 1;
    const uint64_t move = static_cast<uint64_t>(std::max(1.0, std::round(pixels * MsPerPx())));
    const uint64_t at = m_cursor ? m_cursorMs : m_nowMs;
    switch (event->key()) {
    case Qt::Key_Left:
        SetCursorMs(at > move ? at - move : 0);
        break;
    case Qt::Key_Right:
        SetCursorMs(at + move);
        break;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        Zoom(0.5);
        break;
    case Qt::Key_Minus:
        Zoom(2);
        break;
    case Qt::Key_End:
        Follow();
        break;
    case Qt::Key_Escape:
        RemoveCursor();
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}
