#pragma once
// The log dock: a replayed scenario's verdicts, one line each as the runner
// prints them ("FILE:LINE: TIME: ok|FAILED: what; seen what"), the failed
// ones in red, and above them the line the replay stopped at.

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
    QListWidget* m_list;
    int m_head = 0;      // lines above the verdicts
    size_t m_shown = 0;  // verdicts listed
};
