#include "workbench/widgets/time_bar.h"

#include <QAction>
#include <QFontDatabase>

#include "workbench/model/session_record.h"
#include "workbench/widgets/condition_box.h"
#include "workbench/widgets/workbench_actions.h"

CTimeBar::CTimeBar(CWorkbenchActions& actions, QWidget* parent) : QToolBar(QString::fromUtf8("시간"), parent)
{
    setObjectName(QStringLiteral("timeBar"));
    setMovable(false);
    setFloatable(false);
    setToolButtonStyle(Qt::ToolButtonTextOnly);
    addActions({actions.run, actions.step1, actions.step100, actions.stepState});
    m_condition = new CConditionBox(actions.runUntil->shortcut(), this);
    addWidget(m_condition);
    addSeparator();
    for (QAction* speed : actions.speed)
        addAction(speed);
    addSeparator();

    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPointSizeF(fixed.pointSizeF() * 1.3);
    fixed.setBold(true);
    m_clock = new CFixedLabel(QStringLiteral("000:00.000"), fixed, this);
    m_clock->setToolTip(QString::fromUtf8("가상 시계 (분:초.밀리초)"));
    addWidget(m_clock);
    m_achieved = new CFixedLabel(QString::fromUtf8("실제 ×00000"), font(), this);
    m_achieved->setToolTip(QString::fromUtf8("실제로 낸 배속"));
    addWidget(m_achieved);
    addSeparator();
    addAction(actions.resetCpu);
    Show(0, 0, false);
}

void CTimeBar::Show(uint64_t virtualMs, double achieved, bool running)
{
    if (virtualMs != m_shownMs) {
        m_shownMs = virtualMs;
        m_clock->SetText(QString::fromStdString(clock_text(virtualMs)));
    }
    if (running == m_shownRunning && m_sinceAchieved.isValid() && m_sinceAchieved.elapsed() < 250)
        return;
    m_shownRunning = running;
    m_sinceAchieved.start();
    QString text = QString::fromUtf8("실제 —");
    if (running && achieved > 0)
        text = QString::fromUtf8("실제 ×%1").arg(achieved, 0, 'f', achieved < 10 ? 2 : 0);
    m_achieved->SetText(text);
}
