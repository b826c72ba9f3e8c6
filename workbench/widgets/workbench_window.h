#pragma once
// The workbench's main window: the panel in the middle, the time bar above
// it, the controller, trace, log and marker docks around it, and the status line.
// It only wires the parts together; each part does its own work.

#include <QLabel>
#include <QMainWindow>

#include "workbench/model/workbench_session.h"
#include "workbench/widgets/window_layout.h"

class CFrameDriver;
class CBaselineControl;
class CControllerDock;
class CFaultMenu;
class CLogDock;
class CMarkerDock;
class CMarkerList;
class CScenarioReplay;
class CPanelView;
class CSessionFiles;
class CTimeBar;
class CTraceDock;
class CTraceViewsMenu;
class CUntilRun;
class CWorkbenchActions;

class CWorkbenchWindow : public QMainWindow {
    Q_OBJECT
public:
    // `settingsFile`: where the layout is kept; empty: the user's settings.
    explicit CWorkbenchWindow(const QString& settingsFile = QString());
    ~CWorkbenchWindow() override;

    CWorkbenchSession& Session() { return m_session; }
    CFrameDriver& Driver() { return *m_driver; }
    CPanelView& Panel() { return *m_panel; }
    CTimeBar& TimeBar() { return *m_timeBar; }
    CTraceDock& TraceDock() { return *m_traceDock; }
    CControllerDock& ControllerDock() { return *m_controllerDock; }
    CSessionFiles& Files() { return *m_files; }
    CScenarioReplay& Replay() { return *m_replay; }
    CLogDock& LogDock() { return *m_logDock; }
    CFaultMenu& Faults() { return *m_faults; }
    CMarkerList& Markers() { return *m_markers; }
    CMarkerDock& MarkerDock() { return *m_markerDock; }
    CTraceViewsMenu& TraceViews() { return *m_traceViews; }
    CUntilRun& Until() { return *m_until; }

    // Replays a scenario from a fresh controller; false with "FILE:LINE: reason".
    bool OpenScenario(const QString& path, QString& error);
    // Holds the live trace against a baseline trace; false with "FILE:LINE: reason".
    bool OpenBaseline(const QString& path, QString& error);
    CBaselineControl& Baseline() { return *m_baseline; }
    CWorkbenchActions& Actions() { return *m_actions; }
    QString StatusText() const { return m_status.text(); }

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateDocks();
    void ConnectMarkers();
    void FitScreen();
    void RestoreLayout();
    void Connect();
    void OnFrame();
    void OnModeChanged();
    void OnNewSession();
    void OnSessionRestarted();
    void AskOpenScenario();
    void AskSeekLimit();
    void ShowStatus();

    CWorkbenchSession m_session;  // outlives every part that looks at it
    CWorkbenchActions* m_actions;
    CFrameDriver* m_driver;
    CPanelView* m_panel;
    CTimeBar* m_timeBar;
    CTraceDock* m_traceDock = nullptr;
    CMarkerList* m_markers;  // before the files, which save them
    CControllerDock* m_controllerDock = nullptr;
    CSessionFiles* m_files;
    CScenarioReplay* m_replay;
    CLogDock* m_logDock = nullptr;
    CFaultMenu* m_faults = nullptr;
    CMarkerDock* m_markerDock = nullptr;
    CTraceViewsMenu* m_traceViews = nullptr;
    CBaselineControl* m_baseline = nullptr;
    CUntilRun* m_until;
    QLabel m_status;
    QString m_prompt;  // a highlighted command's prompt, shown instead of the status
    CWindowLayout m_layout;
};
