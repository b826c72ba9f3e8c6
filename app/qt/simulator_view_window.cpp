#include "app/qt/simulator_view_window.h"

#include <QMouseEvent>
#include <QPaintEvent>
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

// The whole panel is drawn into an image of the client size at the screen's
// pixel density, then copied once; only the part that needs repainting
// reaches the screen.
void CSimulatorViewWindow::paintEvent(QPaintEvent* event)
{
    m_pending -= event->region();
    const QRect client = rect();
    QPainter screen(this);
    COffscreenDC offscreen(screen, &client);
    if (!offscreen.IsValid())
        return;
    {
        QPainter painter(&offscreen.Image());
        painter.setFont(panel_font());
        CQtDrawSurface surface(painter);
        m_view.OnPaint(surface, CRect{0, 0, client.width(), client.height()});
    }
    offscreen.CopyTo(screen);
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

// The refresh timer is identifier 1 to the panel; any other timer keeps an
// identifier other than 1, so it ticks nothing.
void CSimulatorViewWindow::timerEvent(QTimerEvent* event)
{
    int id = event->timerId();
    if (id == m_refresh.timerId())
        id = CSimulatorView::REFRESH_TIMER_ID;
    else if (id == CSimulatorView::REFRESH_TIMER_ID)
        id = 0;
    m_view.OnTimer(*this, id);
    QWidget::timerEvent(event);
}

void CSimulatorViewWindow::InvalidateRect(const CRect* r)
{
    const QRect area = r ? QRect(r->left, r->top, r->Width(), r->Height()) : rect();
    m_pending += area;
    update(area);
}

// Paints what is pending now, before the mouse handler returns.
void CSimulatorViewWindow::UpdateWindow()
{
    if (!m_pending.isEmpty())
        repaint(m_pending);
}

// Qt holds the mouse for the pressed widget until the last button is released,
// also outside the window, so the capture needs no call of its own.
void CSimulatorViewWindow::SetCapture() {}
void CSimulatorViewWindow::ReleaseCapture() {}
