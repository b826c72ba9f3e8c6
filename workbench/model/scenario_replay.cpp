#include "workbench/model/scenario_replay.h"

#include <QFileInfo>

#include "scenario/language/scenario_parser.h"
#include "workbench/model/marker_comments.h"
#include "workbench/model/workbench_session.h"

CScenarioReplay::CScenarioReplay(CWorkbenchSession& session, QObject* parent) : QObject(parent), m_session(session) {}

CScenarioReplay::~CScenarioReplay() = default;

bool CScenarioReplay::Open(const QString& path, QString& error)
{
    CScenarioParser parser;
    const std::string name = path.toStdString();
    if (!parser.ParseFile(name)) {
        error = QString::fromStdString(parser.ErrorMessage(name));
        return false;
    }
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    m_text = file.readAll();
    m_lines = QString::fromUtf8(m_text).split(QLatin1Char('\n'));
    m_fileName = QFileInfo(path).fileName();
    m_steps = parser.Steps();
    return true;
}

QString CScenarioReplay::LineText(int line) const
{
    return line >= 1 && line <= m_lines.size() ? m_lines[line - 1].trimmed() : QString();
}

void CScenarioReplay::Start()
{
    m_results.clear();
    m_replayed = 0;
    Begin();
    emit ResultsChanged();
}

// A fresh controller and an executor on it; input waits for the end.
void CScenarioReplay::Begin()
{
    m_executor.reset();
    m_session.Restart();
    m_session.SetInputBlocked(true);
    m_ended = false;
    m_stoppedLine = 0;
    m_executor = std::make_unique<CScenarioExecutor>(m_session.Sim(), m_steps);
    m_executor->m_onResult = [this](const CScenarioResult& result) { OnResult(result); };
    emit Restarted();
}

void CScenarioReplay::OnResult(const CScenarioResult& result)
{
    if (m_replayed > 0) {
        --m_replayed;  // played again: shown already
        return;
    }
    m_results.push_back(result);
    if (!result.held && m_failure == SIZE_MAX)
        m_failure = m_results.size() - 1;
}

bool CScenarioReplay::Advance(uint64_t limitMs, const std::function<bool()>& stop)
{
    if (!Active()) {
        if (m_executor && !m_ended)
            Finish();
        return m_session.RunUntil(limitMs, stop);
    }
    m_failure = SIZE_MAX;
    m_stoppedLine = 0;
    const size_t before = m_results.size();
    const uint64_t from = m_session.Now();
    const bool stopped = RunSlice(limitMs, stop);
    const uint64_t pauseMs = m_pauseAt ? m_pauseAt() : UINT64_MAX;
    const bool pause = pauseMs > from && pauseMs <= m_session.Now();
    if (m_failure != SIZE_MAX && (!pause || m_results[m_failure].timeMs <= pauseMs)) {
        LandOnFailure(m_failure);
        return true;
    }
    if (pause) {
        LandAt(pauseMs);
        return true;
    }
    if (m_results.size() != before)
        emit ResultsChanged();
    if (!Active()) {
        Finish();
        return true;  // the end, to look at
    }
    return stopped;
}

// With a stop condition the executor goes a ms at a time, so the stop is exact.
bool CScenarioReplay::RunSlice(uint64_t limitMs, const std::function<bool()>& stop)
{
    if (!stop) {
        if (limitMs > m_session.Now())
            m_executor->Advance(limitMs - m_session.Now());
        else
            m_executor->Advance(0);  // the steps that take no time
        return false;
    }
    while (m_session.Now() < limitMs && Active() && m_failure == SIZE_MAX) {
        if (stop())
            return true;
        m_executor->Advance(1);
    }
    return stop();
}

// The slice went past the failed verdict: everything after it is taken
// back and the replay is played again from the start to the verdict's ms.
void CScenarioReplay::LandOnFailure(size_t failure)
{
    const CScenarioResult result = m_results[failure];
    m_results.resize(failure + 1);
    if (m_session.Now() > result.timeMs) {
        m_replayed = failure + 1;
        Begin();
        m_executor->Advance(result.timeMs - m_session.Now());
        m_replayed = 0;
    }
    m_stoppedLine = result.line;
    emit ResultsChanged();
    emit Failed(result);
}

// As at a failure, but the verdicts after the ms are taken back.
void CScenarioReplay::LandAt(uint64_t ms)
{
    size_t keep = 0;
    while (keep < m_results.size() && m_results[keep].timeMs <= ms)
        ++keep;
    m_results.resize(keep);
    if (m_session.Now() > ms) {
        m_replayed = keep;
        Begin();
        m_executor->Advance(ms - m_session.Now());
        m_replayed = 0;
    }
    emit ResultsChanged();
    emit PausedAt(ms);
}

void CScenarioReplay::Cancel()
{
    m_executor.reset();
    m_session.SetInputBlocked(false);
}

void CScenarioReplay::Finish()
{
    m_ended = true;
    m_session.SetInputBlocked(false);
    // Its markers are saved with those of the session, not twice.
    m_session.StartRecordAfter(without_marker_comments(m_text.toStdString()));
    emit ResultsChanged();
    emit Ended();
}
