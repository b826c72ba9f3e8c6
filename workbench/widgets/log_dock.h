#pragma once
// The log dock: a replayed scenario's verdicts, one line each as the runner
// prints them ("FILE:LINE: TIME: ok|FAILED: what; seen what"), the failed
// ones in red, and above them the line the replay stopped at and the
// baseline the live trace is held against, with its first divergence.

#include <QDockWidget>

class QLabel;
class QListWidget;
class CScenarioReplay;
struct CScenarioResult;

class CLogDock : public QDockWidget {
    Q_OBJECT
public:
    CLogDock(CScenarioReplay& replay, QWidget* parent = nullptr);

    int Lines() const;
    QString Line(int row) const;
    QString StopText() const;
    // The baseline's line ("기준 추적 golden.vcd ..."); hidden when empty.
    void ShowBaseline(const QString& text);
    QString BaselineText() const;
    // Where the replay stopped for a reason other than a verdict.
    void ShowStop(const QString& text);
    // Back to the first look: a new session has no replay to show.
    void Clear();

private:
    void Sync();
    void OnStarted();
    void OnFailed(const CScenarioResult& result);
    void OnEnded();
    QString Text(const CScenarioResult& result) const;

    CScenarioReplay& m_replay;
    QLabel* m_stop;
    QLabel* m_baseline;
    QListWidget* m_list;
    int m_head = 0;      // lines above the verdicts
    size_t m_shown = 0;  // verdicts listed
};
