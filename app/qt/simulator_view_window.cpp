#include "app/qt/simulator_view_window.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTimerEvent>

#include "app/qt/offscreen_dc.h"
#include "app/qt/qt_draw_surface.h"

namespace {
// The panel's size as laid out.
constexpr int PANEL_WIDTH = 484;
constexpr int PANEL_HEIGHT = 380;
}  // namespace

CSimulatorViewWindow::CSimulatorViewWindow(QWidget* parent) : QWidget(parent)
{
    // The paint covers every pixel: no background erase before it.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setCursor(Qt::ArrowCursor);
    setFocusPolicy(Qt::StrongFocus);
}

CSimulatorViewWindow::~CSimulatorViewWindow() { Destroy(); }

QSize CSimulatorViewWindow::sizeHint() const { return QSize(PANEL_WIDTH, PANEL_HEIGHT); }

void CSimulatorViewWindow::Create()
{
    if (m_created)
        return;
    m_created = true;
    m_view.OnCreate();
    m_refresh.start(CSimulatorView::REFRESH_PERIOD_MS, this);
}

void CSimulatorViewWindow::Destroy()
{
    if (!m_created)
        return;
    m_created = false;
    m_refresh.stop();
    m_view.OnDestroy();
}

void CSimulatorViewWindow::OnResetCpu() { m_view.OnResetCpu(); }

void CSimulatorViewWindow::paintEvent(QPaintEvent*)
{
    const QRect client = rect();
    COffscreenDC offscreen(client);
    QPainter screen(this);
    if (!offscreen.IsValid())
        return;
    {
        QPainter painter(&offscreen.Image());
        painter.setFont(panel_font());
        CQtDrawSurface surface(painter);
        m_view.OnPaint(surface, CRect{0, 0, client.width(), client.height()});
    }
    screen.drawImage(0, 0, offscreen.Image());
}

void CSimulatorViewWindow::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        const QPoint p = event->position().toPoint();
        m_view.OnLButtonDown(*this, CPoint{p.x(), p.y()});
    }
    QWidget::mousePressEvent(event);
}

void CSimulatorViewWindow::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_view.OnLButtonUp(*this);
    QWidget::mouseReleaseEvent(event);
}

void CSimulatorViewWindow::mouseMoveEvent(QMouseEvent* event)
{
    m_view.OnMouseMove(*this);
    QWidget::mouseMoveEvent(event);
}

// The second press of a double click reaches no widget.
void CSimulatorViewWindow::mouseDoubleClickEvent(QMouseEvent* event) { event->accept(); }

void CSimulatorViewWindow::timerEvent(QTimerEvent* event)
{
    const int id = event->timerId() == m_refresh.timerId() ? CSimulatorView::REFRESH_TIMER_ID : event->timerId();
    m_view.OnTimer(*this, id);
    QWidget::timerEvent(event);
}

void CSimulatorViewWindow::InvalidateRect(const CRect* r)
{
    if (r)
        update(QRect(r->left, r->top, r->Width(), r->Height()));
    else
        update();
}

void CSimulatorViewWindow::UpdateWindow() { repaint(); }

// Qt keeps the mouse with the pressed widget until the release by itself.
void CSimulatorViewWindow::SetCapture() {}
void CSimulatorViewWindow::ReleaseCapture() {}
