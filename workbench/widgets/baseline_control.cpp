#include "workbench/widgets/baseline_control.h"

#include <QFileDialog>
#include <QMessageBox>
#include <QWidget>

#include "workbench/model/scenario_replay.h"
#include "workbench/model/session_record.h"
#include "workbench/model/workbench_session.h"
#include "workbench/widgets/log_dock.h"
#include "workbench/widgets/trace_view.h"

CBaselineControl::CBaselineControl(CWorkbenchSession& session, CScenarioReplay& replay, CTraceView& view, CLogDock& log,
                                   QWidget* parent)
    : QObject(parent), m_session(session), m_replay(replay), m_view(view), m_log(log), m_parent(parent)
{
    m_replay.m_pauseAt = [this] { return PauseAt(); };
    // Landing there played the run again from a fresh simulator: read it up to here first.
    connect(&m_replay, &CScenarioReplay::PausedAt, this, [this](uint64_t) {
        FrameDone();
        m_log.ShowStop(QString::fromUtf8("멈춘 곳 ") + DivergenceText());
    });
}

bool CBaselineControl::Open(const QString& path, QString& error)
{
    std::string reason;
    CBaselineTrace baseline;
    if (!baseline.Open(path.toStdString(), reason)) {
        error = QString::fromStdString(reason);
        return false;
    }
    Take(std::move(baseline));
    return true;
}

void CBaselineControl::Take(CBaselineTrace&& baseline)
{
    m_baseline = std::move(baseline);
    m_watch.SetBaseline(m_baseline.Dump());
    m_view.SetBaseline(m_baseline.Dump());
    SessionRestarted();
    m_log.show();
}

void CBaselineControl::Close()
{
    m_view.SetBaseline(nullptr);
    m_watch.SetBaseline(nullptr);
    m_baseline.Close();
    SessionRestarted();
}

void CBaselineControl::AskOpen()
{
    const QString path = QFileDialog::getOpenFileName(m_parent, QString::fromUtf8("기준 추적 열기"), QString(),
                                                      QString::fromUtf8("추적 (*.vcd);;모든 파일 (*)"));
    QString error;
    if (!path.isEmpty() && !Open(path, error))
        QMessageBox::warning(m_parent, QString::fromUtf8("기준 추적 열기"), error);
}

void CBaselineControl::SessionRestarted()
{
    m_watch.Reset();
    m_shown = false;
    m_view.SetDivergence(false, 0, QString());
    const QString name = QString::fromStdString(m_baseline.FileName());
    // How few rows match says at once whether the baseline is a trace of this program at all.
    const QString matched =
        QString::fromUtf8(" · 행 %1개 중 %2개 일치").arg(m_view.RowCount()).arg(m_view.BaselineRowsMatched());
    m_log.ShowBaseline(m_baseline.Dump() ? QString::fromUtf8("기준 추적 %1").arg(name) + matched : QString());
    emit Changed();
}

void CBaselineControl::FrameDone()
{
    m_watch.Update(m_session.Trace().Buffer(), m_session.Now());
    if (m_watch.Found() && !m_shown)
        ShowFound();
}

// The session stands on the ms after the diverging one, where the change has been seen.
uint64_t CBaselineControl::PauseAt()
{
    FrameDone();
    return m_watch.Found() ? m_watch.Divergence().timeMs + 1 : UINT64_MAX;
}

void CBaselineControl::ShowFound()
{
    m_shown = true;
    const CDivergenceWatch::CDivergence& d = m_watch.Divergence();
    m_view.SetDivergence(true, d.timeMs, QString::fromStdString(d.name));
    m_log.ShowBaseline(
        QString::fromUtf8("기준 추적 %1 · %2").arg(QString::fromStdString(m_baseline.FileName()), DivergenceText()));
    emit Changed();
}

QString CBaselineControl::DivergenceText() const
{
    const CDivergenceWatch::CDivergence& d = m_watch.Divergence();
    return QString::fromUtf8("기준과 처음 다른 곳 %1 %2 지금 %3 기준 %4")
        .arg(QString::fromStdString(clock_text(d.timeMs)), QString::fromStdString(d.name),
             QString::fromStdString(d.live), QString::fromStdString(d.baseline));
}

QString CBaselineControl::StatusText() const
{
    if (!m_baseline.Dump())
        return QString();
    const QString name = QString::fromUtf8("기준 ") + QString::fromStdString(m_baseline.FileName());
    return m_watch.Found() ? name + QStringLiteral(" · ") + DivergenceText() : name;
}
