#pragma once
// The main window: menu, a tool bar with "Reset CPU", a status bar, and the
// panel's view in between. Fixed at 500 x 500.

#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>
#include <QToolBar>

#include "app/qt/simulator_view_window.h"

class QAction;
class CStatusIndicators;

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int FRAME_SIZE = 500;

    CMainFrame();
    ~CMainFrame() override;

    CSimulatorViewWindow& ViewWindow() { return m_view; }
    QAction* ResetCpuAction() const { return m_resetCpu; }
    QAction* ToolBarToggle() const { return m_toolBarToggle; }
    QAction* StatusBarToggle() const { return m_statusBarToggle; }
    QLabel& MessagePane() { return m_message; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool event(QEvent* event) override;

private:
    void CreateMenu();
    void CreateToolBar();
    void CreateStatusBar();
    void OnAbout();
    void OnResetCpu();

    // Constructed in this order and destroyed in the reverse: the view first.
    QStatusBar m_statusBar;
    QToolBar m_toolBar;
    CSimulatorViewWindow m_view;

    QLabel m_message;
    CStatusIndicators* m_indicators = nullptr;
    QAction* m_resetCpu = nullptr;
    QAction* m_toolBarToggle = nullptr;
    QAction* m_statusBarToggle = nullptr;
    bool m_closed = false;  // the view is destroyed: no command reaches it any more
};
