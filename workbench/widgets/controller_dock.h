#pragma once
// The controller dock: every watched firmware variable and the eleven
// software timers, read once per frame, changed values marked.

#include <QDockWidget>

#include <cstdint>

class QAbstractItemModel;
class QTableView;
class CTimersModel;
class CVariablesModel;
class CWatchModel;

class CControllerDock : public QDockWidget {
    Q_OBJECT
public:
    explicit CControllerDock(QWidget* parent = nullptr);

    // Once per frame, between runs of the firmware: the values are read
    // afresh when virtual time has moved since the last frame.
    void FrameDone(uint64_t nowMs, bool running);
    void SessionRestarted();

    CVariablesModel& Variables() { return *m_variables; }
    CTimersModel& Timers() { return *m_timers; }
    // As wide as the tables want, names and all.
    int NaturalWidth() const { return m_naturalWidth; }
    // The names' column when the numbers take all the room: the names give way first.
    static constexpr int NAME_LEAST = 90;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTableView* MakeView(QAbstractItemModel* model, QWidget* parent);
    struct CWidths {
        int natural;  // every column whole
        int least;    // the numbers whole, the names cut short
    };
    static CWidths FitColumns(QTableView& view, const CWatchModel& model);
    static void FitNames(QTableView& view);

    CVariablesModel* m_variables;
    CTimersModel* m_timers;
    QTableView* m_views[2] = {};  // the variables, the timers
    uint64_t m_readAtMs = UINT64_MAX;
    int m_naturalWidth = 0;  // the virtual time the values were read at
};
