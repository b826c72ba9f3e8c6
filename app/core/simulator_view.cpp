#include "app/core/simulator_view.h"

CSimulatorView* g_pView = nullptr;

namespace {
constexpr CColour WHITE{255, 255, 255};
constexpr size_t PANEL_WIDGETS = 25;
constexpr size_t TICKED_WIDGETS = 9;
}  // namespace

CSimulatorView::CSimulatorView() : m_captured(nullptr)
{
    m_widgets.reserve(PANEL_WIDGETS);
    m_tickWidgets.reserve(TICKED_WIDGETS);
    g_pView = this;
}

CSimulatorView::~CSimulatorView()
{
    // The firmware must not outlive the widgets it reaches through g_pView.
    m_board.Shutdown();
    if (g_pView == this)
        g_pView = nullptr;
}

int CSimulatorView::OnCreate()
{
    Layout();
    m_board.Attach(*this);
    m_board.StartFirmware();
    return 0;
}

void CSimulatorView::OnPaint(CDrawSurface& offscreen, const CRect& client)
{
    offscreen.FillRect(client, WHITE);
    for (CPanelWidget* widget : m_widgets)
        widget->Draw(offscreen);
}

void CSimulatorView::OnLButtonDown(CViewWindow& window, CPoint point)
{
    // The press goes to the first widget hit, and to no other.
    for (CPanelWidget* widget : m_widgets) {
        if (!widget->HitTest(point))
            continue;
        if (widget->OnMouseDown()) {
            m_captured = widget;
            window.SetCapture();
            const CRect redraw = widget->GetRedrawRect();
            window.InvalidateRect(&redraw);
            window.UpdateWindow();
        }
        return;
    }
}

void CSimulatorView::OnMouseMove(CViewWindow& window)
{
    if (m_captured && m_captured->OnMouseMove()) {
        window.InvalidateRect(&m_captured->m_rect);
        window.UpdateWindow();
    }
}

void CSimulatorView::OnLButtonUp(CViewWindow& window)
{
    if (!m_captured)
        return;
    if (m_captured->OnMouseUp()) {
        const CRect redraw = m_captured->GetRedrawRect();
        window.InvalidateRect(&redraw);
        window.UpdateWindow();
    }
    window.ReleaseCapture();
    m_captured = nullptr;
}

void CSimulatorView::OnTimer(CViewWindow& window, int timerId)
{
    if (timerId != REFRESH_TIMER_ID)
        return;
    // Lamps, indicators and readouts change from the firmware thread and are
    // shown only by this repaint of the whole panel.
    for (CPanelWidget* widget : m_tickWidgets)
        widget->OnTick();
    window.InvalidateRect(nullptr);
}

void CSimulatorView::OnResetCpu() { m_board.StartFirmware(); }

void CSimulatorView::OnDestroy() { m_board.Shutdown(); }

void CSimulatorView::Add(CPanelWidget& widget, bool ticked)
{
    m_widgets.push_back(&widget);
    if (ticked)
        m_tickWidgets.push_back(&widget);
}
