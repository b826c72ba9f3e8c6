#pragma once
// What the workbench writes: the session as a scenario (its markers as
// comments in it), a snapshot of the
// panel (PNG) and the trace so far (VCD). Each command asks for a file
// name, then writes through a temporary file beside it.

#include <QObject>
#include <QString>

class QWidget;
class CMarkerList;
class CPanelView;
class CWorkbenchSession;

class CSessionFiles : public QObject {
    Q_OBJECT
public:
    CSessionFiles(CWorkbenchSession& session, CPanelView& panel, CMarkerList& markers, QWidget* window);

    // The same without asking; false with the reason.
    bool SaveScenario(const QString& path, QString& error);
    bool SaveSnapshot(const QString& path, QString& error);
    bool ExportTrace(const QString& path, QString& error);

    // Before the session is thrown away (`what`: the command that would do
    // it): when something is unsaved, asks whether to save it first. False
    // when the user cancels, or the save was not made.
    bool MayDiscardSession(const QString& what);

public slots:
    void AskSaveScenario();
    void AskSaveSnapshot();
    void AskExportTrace();

signals:
    void Saved(const QString& message);  // for the status line

private:
    using CWriter = bool (CSessionFiles::*)(const QString&, QString&);
    bool Ask(const char* caption, const char* suggested, const char* filter, CWriter write, const char* done);

    CWorkbenchSession& m_session;
    CPanelView& m_panel;
    CMarkerList& m_markers;
    QWidget* m_window;
};
