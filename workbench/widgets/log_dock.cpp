#include "workbench/widgets/log_dock.h"

#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

#include "workbench/model/scenario_replay.h"
#include "workbench/model/session_record.h"

CLogDock::CLogDock(CScenarioReplay& replay, QWidget* parent)
    : QDockWidget(QString::fromUtf8("기록"), parent), m_replay(replay)
{
    setObjectName(QStringLiteral("logDock"));
    QWidget* body = new QWidget(this);
    QVBoxLayout* layout = new QVBoxLayout(body);
    layout->setContentsMargins(2, 2, 2, 2);
    m_stop = new QLabel(body);
    m_stop->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_stop->setStyleSheet(QStringLiteral("color: #c00000; font-weight: bold"));
    m_stop->hide();
    m_baseline = new QLabel(body);
    m_baseline->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_baseline->hide();
    m_list = new QListWidget(body);
    m_list->setUniformItemSizes(true);
    layout->addWidget(m_baseline);
    layout->addWidget(m_stop);
    layout->addWidget(m_list, 1);
    setWidget(body);
    body->setMinimumHeight(96);  // the stop line and three verdicts
    Clear();
    connect(&replay, &CScenarioReplay::Restarted, this, [this] {
        if (m_replay.Results().empty())
            OnStarted();
    });
    connect(&replay, &CScenarioReplay::ResultsChanged, this, &CLogDock::Sync);
    connect(&replay, &CScenarioReplay::Failed, this, &CLogDock::OnFailed);
    connect(&replay, &CScenarioReplay::Ended, this, &CLogDock::OnEnded);
}

int CLogDock::Lines() const { return m_list->count(); }

QString CLogDock::Line(int row) const { return m_list->item(row)->text(); }

QString CLogDock::StopText() const { return m_stop->isHidden() ? QString() : m_stop->text(); }

void CLogDock::ShowBaseline(const QString& text)
{
    m_baseline->setText(text);
    m_baseline->setVisible(!text.isEmpty());
}

QString CLogDock::BaselineText() const { return m_baseline->isHidden() ? QString() : m_baseline->text(); }

void CLogDock::ShowStop(const QString& text)
{
    m_stop->setText(text);
    m_stop->show();
    show();
    raise();
}

void CLogDock::Clear()
{
    m_list->clear();
    m_stop->hide();
    m_list->addItem(QString::fromUtf8("시나리오를 열면 (Ctrl+O) 그 검사 결과가 여기에 나옵니다."));
    m_head = 1;
    m_shown = 0;
}

void CLogDock::OnStarted()
{
    m_list->clear();
    m_stop->hide();
    m_list->addItem(QString::fromUtf8("%1 재생").arg(m_replay.FileName()));
    m_head = 1;
    m_shown = 0;
}

QString CLogDock::Text(const CScenarioResult& result) const
{
    const char* verdict = result.error ? "ERROR" : result.held ? "ok" : "FAILED";
    return QStringLiteral("%1:%2: %3: %4: %5; seen %6")
        .arg(m_replay.FileName())
        .arg(result.line)
        .arg(QString::fromStdString(clock_text(result.timeMs)), QString::fromLatin1(verdict),
             QString::fromStdString(result.what), QString::fromStdString(result.seen));
}

// New verdicts are appended; those taken back after a failure are removed.
void CLogDock::Sync()
{
    const auto& results = m_replay.Results();
    while (m_shown > results.size()) {
        delete m_list->takeItem(m_head + static_cast<int>(m_shown) - 1);
        --m_shown;
    }
    for (; m_shown < results.size(); ++m_shown) {
        QListWidgetItem* item = new QListWidgetItem(Text(results[m_shown]), m_list);
        if (!results[m_shown].held)
            item->setForeground(QColor(200, 0, 0));
    }
    m_list->scrollToBottom();
}

void CLogDock::OnFailed(const CScenarioResult& result)
{
    Sync();
    m_stop->setText(QString::fromUtf8("멈춘 곳 %1:%2: %3")
                        .arg(m_replay.FileName())
                        .arg(result.line)
                        .arg(m_replay.LineText(result.line)));
    m_stop->show();
    const auto& results = m_replay.Results();
    for (size_t i = 0; i < results.size(); ++i)
        if (!results[i].held && results[i].line == result.line && results[i].timeMs == result.timeMs) {
            m_list->setCurrentRow(m_head + static_cast<int>(i));
            break;
        }
    show();
    raise();
}

void CLogDock::OnEnded()
{
    Sync();
    int passed = 0;
    int failed = 0;
    for (const CScenarioResult& result : m_replay.Results())
        result.held ? ++passed : ++failed;
    m_list->addItem(QStringLiteral("%1 passed, %2 failed").arg(passed).arg(failed));
    m_list->scrollToBottom();
}
