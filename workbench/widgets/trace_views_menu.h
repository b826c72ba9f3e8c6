#pragma once
// Named views of the trace: 보기 저장 keeps the rows shown and the zoom under
// a name in the views file in use, 보기 파일 열기 picks that file, and the
// submenu 보기 lists its views; picking one shows it. The file in use is
// kept in the window's settings; until one is picked it is trace_views.txt
// in the user's configuration folder. Rows a view names that the trace no
// longer has are left out, and the status line names them.

#include <QObject>
#include <QString>
#include <QStringList>

class QSettings;
class QWidget;
class CTraceDock;
class CWorkbenchActions;

class CTraceViewsMenu : public QObject {
    Q_OBJECT
public:
    CTraceViewsMenu(CWorkbenchActions& actions, CTraceDock& trace, QSettings& settings, QWidget* window);

    // The trace as it stands, under `name` (in place of a view of that name).
    bool SaveView(const QString& name, QString& error);
    // The views file in use from now on; one that does not exist yet is made
    // by the first view saved.
    bool OpenViewsFile(const QString& path, QString& error);
    bool ApplyView(const QString& name, QString& error);
    QString FilePath() const;
    // The names of the views in the file in use, read afresh.
    QStringList ViewNames(QString* error = nullptr) const;

signals:
    void Message(const QString& text);  // for the status line

private:
    void AskSave();
    void AskOpen();
    void FillMenu();

    CWorkbenchActions& m_actions;
    CTraceDock& m_trace;
    QSettings& m_settings;
    QWidget* m_window;
    QString m_lastName;  // offered when saving again
};
