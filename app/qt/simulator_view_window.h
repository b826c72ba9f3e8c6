#pragma once
// The panel's window: it holds the simulation's view core and forwards its
// paint, mouse and timer events to it.

#include <QBasicTimer>
#include <QRegion>
#include <QWidget>

#include "app/core/simulator_view.h"

class CSimulatorViewWindow : public QWidget, public CViewWindow {
    Q_OBJECT
public:
    explicit CSimulatorViewWindow(QWidget* parent = nullptr);
    ~CSimulatorViewWindow() override;

    // Lays the panel out, starts the firmware and the 100 ms refresh.
    void Create();
    // Stops the refresh and the firmware before any widget dies.
    void Destroy();

    CSimulatorView& View() { return m_view; }
    QSize sizeHint() const override;

public slots:
    void OnResetCpu();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

    // CViewWindow
    void InvalidateRect(const CRect* rect) override;
    void UpdateWindow() override;
    void SetCapture() override;
    void ReleaseCapture() override;

private:
    CSimulatorView m_view;
    QBasicTimer m_refresh;
    QRegion m_pending;  // invalidated by the panel, not yet painted
    bool m_created = false;
};
