#include "workbench/widgets/fault_menu.h"

#include <QAction>
#include <QMenu>

#include "sim/panel_parts.h"
#include "workbench/model/workbench_session.h"

namespace {
const char* const MOTOR_CAPTIONS[MOTOR_COUNT] = {"디스크 모터", "배출 모터", "메인 모터"};
}  // namespace

CFaultMenu::CFaultMenu(QMenu& menu, CWorkbenchSession& session)
    : QObject(&menu), m_session(session), m_faults(CPlantFault::All())
{
    CPlantFault::Kind kind = m_faults.front().kind;
    for (const CPlantFault& fault : m_faults) {
        if (fault.kind != kind)
            menu.addSeparator();
        kind = fault.kind;
        QAction* action = menu.addAction(Caption(fault));
        action->setCheckable(true);
        action->setStatusTip(QString::fromUtf8("지금의 가상 시간에 이 고장을 일으키거나 고칩니다: ") +
                             QString::fromStdString(fault.Describe()));
        connect(action, &QAction::triggered, this, [this, fault](bool set) {
            set ? m_session.SetFault(fault) : m_session.ClearFault(fault);
            ShowActive();
            emit Changed();
        });
        m_actions.push_back(action);
    }
    menu.addSeparator();
    QAction* clear = menu.addAction(QString::fromUtf8("모든 고장 고치기(&A)"));
    connect(clear, &QAction::triggered, this, [this] {
        m_session.ClearAllFaults();
        ShowActive();
        emit Changed();
    });
    connect(&menu, &QMenu::aboutToShow, this, &CFaultMenu::ShowActive);
}

QString CFaultMenu::Caption(const CPlantFault& fault)
{
    switch (fault.kind) {
    case CPlantFault::STUCK_SWITCH:
        return QString::fromUtf8("%1 스위치 %2에 고착")
            .arg(QString::fromUtf8(CPlantFault::SWITCH_NAMES[fault.index]))
            .arg(fault.level);
    case CPlantFault::JAMMED_MOTOR:
        return QString::fromUtf8("%1 걸림").arg(QString::fromUtf8(MOTOR_CAPTIONS[fault.index]));
    case CPlantFault::DEAD_HEATER:
        return QString::fromUtf8("히터 고장");
    }
    return {};
}

// Held faults (during a reset's stop) are ticked once they are in force.
void CFaultMenu::ShowActive()
{
    for (size_t i = 0; i < m_faults.size(); ++i)
        m_actions[i]->setChecked(m_session.Sim().Faults().IsActive(m_faults[i]));
}

QAction* CFaultMenu::ActionOf(const CPlantFault& fault) const
{
    for (size_t i = 0; i < m_faults.size(); ++i)
        if (m_faults[i].kind == fault.kind && m_faults[i].index == fault.index && m_faults[i].level == fault.level)
            return m_actions[i];
    return nullptr;
}
