#include "workbench/widgets/session_files.h"

#include <QBuffer>
#include <QFileDialog>
#include <QImage>
#include <QMessageBox>
#include <QPushButton>

#include "cli/output_file.h"
#include "workbench/model/marker_comments.h"
#include "workbench/model/marker_list.h"
#include "workbench/model/session_scenario.h"
#include "workbench/model/workbench_session.h"
#include "workbench/widgets/panel_view.h"

namespace {

QString cannot_write(const QString& path, const std::string& reason)
{
    return QString::fromUtf8("%1: 쓸 수 없습니다 (%2)").arg(path, QString::fromStdString(reason));
}

// Through a temporary file beside the target, renamed at the end; a target
// that is not a regular file is refused before anything is written.
bool write_whole(const QString& path, const QByteArray& data, QString& error)
{
    std::string reason;
    if (COutputFile::WriteWhole(path.toStdString(), data.constData(), static_cast<size_t>(data.size()), reason))
        return true;
    error = cannot_write(path, reason);
    return false;
}

}  // namespace

CSessionFiles::CSessionFiles(CWorkbenchSession& session, CPanelView& panel, CMarkerList& markers, QWidget* window)
    : QObject(window), m_session(session), m_panel(panel), m_markers(markers), m_window(window)
{
}

// A reset that is still stopping the firmware would end later in the replay
// than the session has come: the file is written once it is over.
bool CSessionFiles::SaveScenario(const QString& path, QString& error)
{
    if (m_session.ResettingCpu()) {
        error = QString::fromUtf8("CPU 리셋이 끝난 뒤에 저장하십시오");
        return false;
    }
    if (m_session.InputBlocked()) {
        error = QString::fromUtf8("시나리오 재생이 끝난 뒤에 저장하십시오");
        return false;
    }
    std::string text = CSessionScenario::Text(m_session.Record(), m_session.Sim());
    if (!m_markers.Markers().empty())
        text += std::string("\n") + MARKERS_HEADER + "\n" + m_markers.Comments();
    if (!write_whole(path, QByteArray::fromStdString(text), error))
        return false;
    m_session.RecordSaved();
    m_markers.MarkSaved();
    return true;
}

bool CSessionFiles::SaveSnapshot(const QString& path, QString& error)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    m_panel.Snapshot().save(&buffer, "PNG");
    return write_whole(path, png, error);
}

bool CSessionFiles::ExportTrace(const QString& path, QString& error)
{
    std::string reason;
    if (!COutputFile::Check(path.toStdString(), {}, reason)) {
        error = cannot_write(path, reason);
        return false;
    }
    if (m_session.Trace().ExportVcd(path.toStdString(), m_session.Now(), reason))
        return true;
    error = QString::fromStdString(reason);
    return false;
}

void CSessionFiles::AskSaveScenario()
{
    Ask("시나리오 저장", "session.scn", "시나리오 (*.scn);;모든 파일 (*)", &CSessionFiles::SaveScenario,
        "시나리오를 저장했습니다: %1");
}

void CSessionFiles::AskSaveSnapshot()
{
    Ask("패널 스냅샷", "panel.png", "PNG 그림 (*.png)", &CSessionFiles::SaveSnapshot, "패널을 저장했습니다: %1");
}

void CSessionFiles::AskExportTrace()
{
    Ask("추적 내보내기", "trace.vcd", "VCD 추적 (*.vcd);;모든 파일 (*)", &CSessionFiles::ExportTrace,
        "추적을 저장했습니다: %1");
}

bool CSessionFiles::Ask(const char* caption, const char* suggested, const char* filter, CWriter write, const char* done)
{
    const QString path = QFileDialog::getSaveFileName(m_window, QString::fromUtf8(caption),
                                                      QString::fromUtf8(suggested), QString::fromUtf8(filter));
    if (path.isEmpty())
        return false;
    QString error;
    if ((this->*write)(path, error)) {
        emit Saved(QString::fromUtf8(done).arg(path));
        return true;
    }
    QMessageBox::warning(m_window, QString::fromUtf8(caption), error);
    return false;
}

bool CSessionFiles::MayDiscardSession(const QString& what)
{
    if (!(m_session.Record().Unsaved() || m_markers.Unsaved()) || m_session.InputBlocked())
        return true;
    QMessageBox box(QMessageBox::Question, what,
                    QString::fromUtf8("이 세션에서 한 일을 아직 저장하지 않았습니다. 시나리오로 저장할까요?"),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, m_window);
    box.setObjectName(QStringLiteral("discardSession"));
    box.setDefaultButton(QMessageBox::Save);
    box.button(QMessageBox::Save)->setText(QString::fromUtf8("저장(&S)..."));
    box.button(QMessageBox::Discard)->setText(QString::fromUtf8("버리기(&D)"));
    const int answer = box.exec();
    if (answer == QMessageBox::Discard)
        return true;
    if (answer != QMessageBox::Save)
        return false;
    return Ask("시나리오 저장", "session.scn", "시나리오 (*.scn);;모든 파일 (*)", &CSessionFiles::SaveScenario,
               "시나리오를 저장했습니다: %1");
}
