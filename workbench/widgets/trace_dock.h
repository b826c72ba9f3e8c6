#pragma once
// The trace dock: the waveform, with a bar above it for the span shown,
// following the clock, zooming to fit, the firmware variables that can be
// added and a moment to go to, and a line of what the cursors measure.

#include <QDockWidget>
#include <QStringList>

#include <cstdint>

class QLabel;
class QLineEdit;
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
    // The box that takes a moment to go to ("1:23.456", "83.5 s", "250 ms").
    QLineEdit& GoToBox() { return *m_goTo; }
    QToolButton& FitButton() { return *m_fit; }
    QString Readout() const;

signals:
    void Message(const QString& text);  // for the status line

private:
    void ShowView();
    void FillVariables();
    void ShowChosen();
    void GoToTyped();

    CSessionTrace* m_recorder;
    CTraceView* m_view = nullptr;
    QLabel* m_span;
    QToolButton* m_follow;
    QToolButton* m_fit;
    QLineEdit* m_goTo;
    QLabel* m_readout;
    QMenu* m_variables;
    QStringList m_chosen;
};
