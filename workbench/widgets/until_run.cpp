#include "workbench/widgets/until_run.h"

#include <QLineEdit>

#include "workbench/model/condition_watch.h"
#include "workbench/model/frame_driver.h"
#include "workbench/model/workbench_session.h"
#include "workbench/widgets/condition_box.h"

CUntilRun::CUntilRun(CWorkbenchSession& session, CFrameDriver& driver, CConditionBox& box, const QString& settingsFile,
                     QObject* parent)
    : QObject(parent), m_session(session), m_driver(driver), m_box(box), m_history(settingsFile)
{
    m_box.SetHistory(m_history.Items());
    connect(&m_box, &CConditionBox::Submitted, this, &CUntilRun::Start);
    connect(&m_driver, &CFrameDriver::UntilHeld, this, &CUntilRun::OnHeld);
    connect(&m_driver, &CFrameDriver::UntilGaveUp, this, &CUntilRun::OnGaveUp);
}

CUntilRun::~CUntilRun() = default;

void CUntilRun::Command()
{
    if (m_box.lineEdit()->hasFocus() && !m_box.Text().isEmpty())
        Start(m_box.Text());
    else
        m_box.FocusForWriting();
}

bool CUntilRun::Start(const QString& text)
{
    CScenarioCondition condition;
    std::string reason;
    if (!CConditionWatch::Parse(text.toStdString(), condition, reason)) {
        const QString why = QString::fromStdString(reason);
        m_box.ShowRefused(why);
        emit Message(QString::fromUtf8("조건을 읽을 수 없어 실행하지 않았습니다: ") + why);
        return false;
    }
    m_history.Add(text);
    m_box.SetHistory(m_history.Items());
    m_box.lineEdit()->selectAll();  // the command's key runs it again; writing replaces it
    m_driver.Pause();               // the run before lets go of its watch before it goes
    m_watch = std::make_unique<CConditionWatch>(m_session, condition);
    m_text = text.trimmed();
    m_startMs = m_session.Now();
    CConditionWatch* watch = m_watch.get();
    m_driver.RunUntilCondition([watch] { return watch->Holds(); });
    return true;
}

QString CUntilRun::WaitingText() const { return QString::fromUtf8("조건 «%1» 까지 실행 중").arg(m_text); }

void CUntilRun::OnHeld()
{
    const QString seen = QString::fromStdString(m_watch->Seen());
    const uint64_t ran = m_session.Now() - m_startMs;
    emit Message(
        ran == 0 ? QString::fromUtf8("조건 «%1»은(는) 이미 맞아 진행하지 않았습니다 (%2)").arg(m_text, seen)
                 : QString::fromUtf8("조건 «%1»이(가) %2 ms 뒤에 맞아 멈췄습니다 (%3)").arg(m_text).arg(ran).arg(seen));
}

void CUntilRun::OnGaveUp()
{
    emit Message(QString::fromUtf8("조건 «%1»을(를) %2분 동안 만족하지 못해 멈췄습니다 (시간 › 다음 상태 한도)")
                     .arg(m_text)
                     .arg(m_driver.SeekLimitMs() / 60000));
}
