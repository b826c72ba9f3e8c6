#include "workbench/widgets/trace_views_menu.h"

#include <QAction>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMenu>
#include <QMessageBox>
#include <QSettings>

#include "workbench/model/trace_views_file.h"
#include "workbench/widgets/trace_dock.h"
#include "workbench/widgets/trace_view.h"
#include "workbench/widgets/workbench_actions.h"

namespace {
const QString FILE_KEY = QStringLiteral("trace/viewsFile");
}  // namespace

CTraceViewsMenu::CTraceViewsMenu(CWorkbenchActions& actions, CTraceDock& trace, QSettings& settings, QWidget* window)
    : QObject(window), m_actions(actions), m_trace(trace), m_settings(settings), m_window(window)
{
    connect(actions.saveView, &QAction::triggered, this, &CTraceViewsMenu::AskSave);
    connect(actions.openViews, &QAction::triggered, this, &CTraceViewsMenu::AskOpen);
    connect(actions.NamedViewsMenu(), &QMenu::aboutToShow, this, &CTraceViewsMenu::FillMenu);
    FillMenu();
}

QString CTraceViewsMenu::FilePath() const
{
    const QString kept = m_settings.value(FILE_KEY).toString();
    if (!kept.isEmpty())
        return kept;
    // Beside the window's settings: ~/.config/trelvik/trace_views.txt.
    return QFileInfo(m_settings.fileName()).dir().filePath(QStringLiteral("trace_views.txt"));
}

QStringList CTraceViewsMenu::ViewNames(QString* error) const
{
    CTraceViewsFile file;
    QStringList names;
    if (!file.Read(FilePath(), true)) {
        if (error)
            *error = file.Error();
        return names;
    }
    for (const CNamedView& view : file.Views())
        names << view.name;
    return names;
}

// The file is read again first, so views added by hand meanwhile are kept;
// a file that does not read is not written over.
bool CTraceViewsMenu::SaveView(const QString& name, QString& error)
{
    const QString clean = CTraceViewsFile::CleanName(name);
    if (clean.isEmpty()) {
        error = QString::fromUtf8("보기의 이름이 비었습니다");
        return false;
    }
    const QString path = FilePath();
    CTraceViewsFile file;
    if (!file.Read(path, true)) {
        error = file.Error();
        return false;
    }
    const CTraceLayout layout = m_trace.View().Layout();
    file.Put(CNamedView{clean, layout.rows, layout.spanMs, layout.endMs, layout.follow});
    QDir().mkpath(QFileInfo(path).absolutePath());
    if (!file.Write(path, error))
        return false;
    m_lastName = clean;
    FillMenu();
    emit Message(QString::fromUtf8("보기 \"%1\"을(를) 저장했습니다: %2").arg(clean, path));
    return true;
}

bool CTraceViewsMenu::OpenViewsFile(const QString& path, QString& error)
{
    CTraceViewsFile file;
    if (!file.Read(path, true)) {
        error = file.Error();
        return false;
    }
    m_settings.setValue(FILE_KEY, QFileInfo(path).absoluteFilePath());
    m_settings.sync();
    FillMenu();
    emit Message(QString::fromUtf8("보기 파일: %1 (보기 %2개)").arg(path).arg(file.Views().size()));
    return true;
}

// Variables the view shows that are not traced yet are added to the trace;
// rows still unknown are left out.
bool CTraceViewsMenu::ApplyView(const QString& name, QString& error)
{
    CTraceViewsFile file;
    if (!file.Read(FilePath(), true)) {
        error = file.Error();
        return false;
    }
    const CNamedView* view = file.Find(name);
    if (!view) {
        error = QString::fromUtf8("%1: 보기 \"%2\"이(가) 없습니다").arg(FilePath(), name);
        return false;
    }
    for (const QString& row : view->rows)
        m_trace.AddVariable(row);  // a watched variable not traced yet; no other name is a variable
    CTraceLayout layout;
    layout.rows = view->rows;
    layout.spanMs = view->spanMs;
    layout.endMs = view->endMs;
    layout.follow = view->follow;
    const QStringList missing = m_trace.View().ApplyLayout(layout);
    m_lastName = view->name;
    emit Message(missing.isEmpty() ? QString::fromUtf8("보기 \"%1\"을(를) 보입니다").arg(view->name)
                                   : QString::fromUtf8("보기 \"%1\": 추적에 없는 행은 뺐습니다: %2")
                                         .arg(view->name, missing.join(QStringLiteral(", "))));
    return true;
}

void CTraceViewsMenu::FillMenu()
{
    QMenu* menu = m_actions.NamedViewsMenu();
    menu->clear();
    QString error;
    const QStringList names = ViewNames(&error);
    for (const QString& name : names)
        menu->addAction(QString(name).replace(QLatin1Char('&'), QStringLiteral("&&")), this, [this, name] {
            QString why;
            if (!ApplyView(name, why))
                QMessageBox::warning(m_window, QString::fromUtf8("보기"), why);
        });
    if (names.isEmpty())
        menu->addAction(error.isEmpty() ? QString::fromUtf8("(저장된 보기 없음)") : error)->setEnabled(false);
}

void CTraceViewsMenu::AskSave()
{
    bool ok = false;
    const QString name = QInputDialog::getText(m_window, QString::fromUtf8("보기 저장"),
                                               QString::fromUtf8("보기의 이름 (같은 이름의 보기는 바뀝니다):"),
                                               QLineEdit::Normal, m_lastName, &ok);
    QString error;
    if (ok && !SaveView(name, error))
        QMessageBox::warning(m_window, QString::fromUtf8("보기 저장"), error);
}

void CTraceViewsMenu::AskOpen()
{
    QFileDialog dialog(m_window, QString::fromUtf8("보기 파일 열기"), QFileInfo(FilePath()).absolutePath(),
                       QString::fromUtf8("보기 파일 (*.txt);;모든 파일 (*)"));
    dialog.setFileMode(QFileDialog::AnyFile);  // a new name makes a new file at the first save
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    QString error;
    if (!OpenViewsFile(dialog.selectedFiles().first(), error))
        QMessageBox::warning(m_window, QString::fromUtf8("보기 파일 열기"), error);
}
