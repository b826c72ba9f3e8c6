#pragma once
// The baseline held against the live trace: opened and closed from 파일,
// handed to the trace view, which draws it under the live rows, and
// watched for the first divergence, which the view marks and the status
// line and the log name. A replayed scenario pauses on the ms the
// divergence comes to light; without a replay it is only marked. A new
// session, or a replay starting again, looks for it afresh.

#include <QObject>
#include <QString>

#include <cstdint>

#include "trace/baseline_trace.h"
#include "trace/divergence_watch.h"

class QWidget;
class CLogDock;
class CScenarioReplay;
class CTraceView;
class CWorkbenchSession;

class CBaselineControl : public QObject {
    Q_OBJECT
public:
    CBaselineControl(CWorkbenchSession& session, CScenarioReplay& replay, CTraceView& view, CLogDock& log,
                     QWidget* parent);

    // False with the reader's reason; the baseline open before stays.
    bool Open(const QString& path, QString& error);
    // A baseline read already (from the command line).
    void Take(CBaselineTrace&& baseline);
    void Close();
    // The file dialog of 기준 추적 열기.
    void AskOpen();

    // Every frame: the watch reads the trace up to now.
    void FrameDone();
    // A new simulator: the divergence is looked for from its start.
    void SessionRestarted();

    const CBaselineTrace& Baseline() const { return m_baseline; }
    const CDivergenceWatch& Watch() const { return m_watch; }
    // For the status line: "기준 golden.vcd", with the divergence once found; empty without a baseline.
    QString StatusText() const;

signals:
    void Changed();  // opened, closed, or a divergence found

private:
    uint64_t PauseAt();
    QString DivergenceText() const;
    void ShowFound();

    CWorkbenchSession& m_session;
    CScenarioReplay& m_replay;
    CTraceView& m_view;
    CLogDock& m_log;
    QWidget* m_parent;
    CBaselineTrace m_baseline;
    CDivergenceWatch m_watch;
    bool m_shown = false;  // the divergence found is shown
};
