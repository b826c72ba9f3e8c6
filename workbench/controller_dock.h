#pragma once
// The controller dock: every watched firmware variable and the eleven
// software timers, read once per frame, changed values marked.

#include <QDockWidget>

class QAbstractItemModel;
class QTableView;
class CTimersModel;
class CVariablesModel;

class CControllerDock : public QDockWidget {
    Q_OBJECT
public:
    explicit CControllerDock(QWidget* parent = nullptr);

    // Once per frame, between runs of the firmware.
    void FrameDone(bool running);
    void SessionRestarted();

    CVariablesModel& Variables() { return *m_variables; }
    CTimersModel& Timers() { return *m_timers; }

private:
    QTableView* MakeView(QAbstractItemModel* model, QWidget* parent);

    CVariablesModel* m_variables;
    CTimersModel* m_timers;
};
