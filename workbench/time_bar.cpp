#include "workbench/time_bar.h"

#include <QAction>
#include <QFontDatabase>

#include "workbench/session_record.h"
#include "workbench/workbench_actions.h"

CTimeBar::CTimeBar(CWorkbenchActions& actions, QWidget* parent) : QToolBar(QString::fromUtf8("시간"), parent)
{
    setObjectName(QStringLiteral("timeBar"));
    setMovable(false);
    setFloatable(false);
    setToolButtonStyle(Qt::ToolButtonTextOnly);
    addActions({actions.run, actions.step1, actions.step100, actions.stepState});
    addSeparator();
    for (QAction* speed : actions.speed)
        addAction(speed);
    addSeparator();

    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPointSizeF(fixed.pointSizeF() * 1.3);
    fixed.setBold(true);
    m_clock.setFont(fixed);
    m_clock.setToolTip(QString::fromUtf8("가상 시계 (분:초.밀리초)"));
    m_clock.setMinimumWidth(QFontMetrics(fixed).horizontalAdvance(QStringLiteral("000:00.000")) + 12);
    m_clock.setAlignment(Qt::AlignCenter);
    addWidget(&m_clock);
    m_achieved.setToolTip(QString::fromUtf8("실제로 낸 배속"));
    m_achieved.setMinimumWidth(fontMetrics().horizontalAdvance(QString::fromUtf8("실제 ×00000.0")) + 8);
    addWidget(&m_achieved);
    addSeparator();
    addAction(actions.resetCpu);
    Show(0, 0, false);
}

// Labels are set only when their text changes: no relayout per frame.
void CTimeBar::Show(uint64_t virtualMs, double achieved, bool running)
{
    if (virtualMs != m_shownMs) {
        m_shownMs = virtualMs;
        m_clock.setText(QString::fromStdString(clock_text(virtualMs)));
    }
    if (running == m_shownRunning && m_sinceAchieved.isValid() && m_sinceAchieved.elapsed() < 250)
        return;
    m_shownRunning = running;
    m_sinceAchieved.start();
    QString text = QString::fromUtf8("실제 —");
    if (running && achieved > 0)
        text = QString::fromUtf8("실제 ×%1").arg(achieved, 0, 'f', achieved < 10 ? 2 : 0);
    if (text != m_achieved.text())
        m_achieved.setText(text);
}
