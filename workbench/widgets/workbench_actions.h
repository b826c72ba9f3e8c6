#pragma once
// Every command of the workbench as an action with its Korean text, its
// shortcut and its prompt; the menus and the time bar show them.

#include <QObject>

class QAction;
class QActionGroup;
class QMenu;
class QMenuBar;

class CWorkbenchActions : public QObject {
    Q_OBJECT
public:
    static constexpr int SPEEDS = 6;

    explicit CWorkbenchActions(QObject* parent);

    // The menus, in order: 파일, 시간, CPU, 고장 (empty: filled by its owner), 보기, 도움말.
    void FillMenus(QMenuBar& bar);
    QMenu* FaultMenu() const { return m_faultMenu; }
    // Every key as a table (HTML): the commands' shortcuts, then the keys of
    // the panel and of the trace.
    QString ShortcutsTable() const;
    QMenu* ViewMenu() const { return m_viewMenu; }
    // 보기 › 보기: the named trace views (empty: filled by its owner).
    QMenu* NamedViewsMenu() const { return m_namedViews; }

    // 파일
    QAction* openScenario;
    QAction* saveScenario;
    QAction* snapshot;
    QAction* exportTrace;
    QAction* openBaseline;
    QAction* closeBaseline;
    QAction* newSession;
    QAction* quit;
    // 시간
    QAction* run;
    QAction* step1;
    QAction* step100;
    QAction* stepState;
    QAction* runUntil;
    QAction* seekLimit;
    QAction* speed[SPEEDS];
    QActionGroup* speedGroup;
    // CPU
    QAction* resetCpu;
    // 보기
    QAction* zoomIn;
    QAction* zoomOut;
    QAction* zoomReset;
    QAction* zoomFit;
    QAction* goToTime;
    QAction* resetLayout;
    QAction* saveView;
    QAction* openViews;
    // 도움말
    QAction* shortcuts;
    QAction* about;

private:
    QAction* Make(const char* text, const QKeySequence& key, const char* tip);

    QMenu* m_faultMenu = nullptr;
    QMenu* m_viewMenu = nullptr;
    QMenu* m_namedViews = nullptr;
};
