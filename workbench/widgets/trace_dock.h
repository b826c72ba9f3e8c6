#pragma once
// The trace dock: the waveform, with a line above it for the span shown,
// following the clock, and the firmware variables that can be added to it.

#include <QDockWidget>
#include <QStringList>

#include <cstdint>

class QLabel;
class QMenu;
class QToolButton;
class CSessionTrace;
class CTraceView;

class CTraceDock : public QDockWidget {
    Q_OBJECT
public:
    CTraceDock(CSessionTrace& recorder, QWidget* parent = nullptr);

    CTraceView& View() { return *m_view; }
    // Once per frame.
    void FrameDone(uint64_t nowMs);
    // A new session brings a new recorder; the variables chosen go on being traced.
    void SetRecorder(CSessionTrace& recorder);
    // Traces a watched firmware variable from now on; false for an unknown name.
    bool AddVariable(const QString& name);
    // The variables added, in order.
    const QStringList& Chosen() const { return m_chosen; }

private:
    void ShowView();
    void FillVariables();
    void ShowChosen();

    CSessionTrace* m_recorder;
    CTraceView* m_view = nullptr;
    QLabel* m_span;
    QToolButton* m_follow;
    QMenu* m_variables;
    QStringList m_chosen;
};
