#include "workbench/widgets/panel_view.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "app/qt/qt_draw_surface.h"
#include "scenario/language/panel_names.h"
#include "workbench/model/draw_signature.h"
#include "workbench/model/workbench_session.h"
#include "workbench/widgets/cached_draw_surface.h"

CPanelView::CPanelView(CWorkbenchSession& session, QWidget* parent) : QWidget(parent), m_session(session)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::StrongFocus);
    setFixedSize(WIDTH, HEIGHT);
}

void CPanelView::FrameDone()
{
    if (Signature() != m_painted)
        update();
}

uint64_t CPanelView::Signature()
{
    CDrawSignature signature;
    m_session.Sim().Paint(signature);
    return signature.Value();
}

QImage CPanelView::Snapshot()
{
    QImage image(WIDTH, HEIGHT, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setFont(panel_font());
    CCachedDrawSurface surface(painter);
    m_session.Sim().Paint(surface);
    return image;
}

// Straight onto the window's own back buffer, which Qt copies to the screen in one piece.
void CPanelView::paintEvent(QPaintEvent*)
{
    m_painted = Signature();
    QPainter painter(this);
    painter.setFont(panel_font());
    CCachedDrawSurface surface(painter);
    m_session.Sim().Paint(surface);
}

void CPanelView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && !m_heldKey) {
        const QPoint p = event->position().toPoint();
        m_session.Press(CPoint{p.x(), p.y()});
        update();
        emit Input();
    }
    QWidget::mousePressEvent(event);
}

void CPanelView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && !m_heldKey) {
        m_session.Release();
        update();
        emit Input();
    }
    QWidget::mouseReleaseEvent(event);
}

// As in the simulator, the second press of a double click reaches no widget.
void CPanelView::mouseDoubleClickEvent(QMouseEvent* event) { event->accept(); }

bool CPanelView::KeyPoint(int key, QPoint& point) const
{
    static const struct {
        int key;
        int input;
    } KEYS[] = {{Qt::Key_P, 0}, {Qt::Key_W, 1}, {Qt::Key_C, 2}, {Qt::Key_D, 3}};
    for (const auto& k : KEYS)
        if (k.key == key) {
            const CPoint p = SCENARIO_INPUTS[k.input].point;
            point = QPoint(p.x, p.y);
            return true;
        }
    return false;
}

void CPanelView::keyPressEvent(QKeyEvent* event)
{
    QPoint point;
    if (event->modifiers() != Qt::NoModifier || !KeyPoint(event->key(), point)) {
        QWidget::keyPressEvent(event);
        return;
    }
    if (!event->isAutoRepeat() && !m_heldKey && !QWidget::mouseGrabber()) {
        m_heldKey = event->key();
        m_session.Press(CPoint{point.x(), point.y()});
        update();
        emit Input();
    }
    event->accept();
}

void CPanelView::keyReleaseEvent(QKeyEvent* event)
{
    if (event->isAutoRepeat() || event->key() != m_heldKey) {
        QWidget::keyReleaseEvent(event);
        return;
    }
    m_heldKey = 0;
    m_session.Release();
    update();
    emit Input();
    event->accept();
}

// A key held while the focus leaves would never see its release here.
void CPanelView::focusOutEvent(QFocusEvent* event)
{
    if (m_heldKey) {
        m_heldKey = 0;
        m_session.Release();
        update();
        emit Input();
    }
    QWidget::focusOutEvent(event);
}
