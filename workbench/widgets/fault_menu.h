#pragma once
// The 고장 menu: the plant faults of the runner (an end switch stuck at 0
// or 1, a jammed motor, a dead heater), each set or cleared at the present
// virtual time by choosing it, ticked while in force.

#include <QObject>

#include <vector>

#include "sim/plant_fault.h"

class QAction;
class QMenu;
class CWorkbenchSession;

class CFaultMenu : public QObject {
    Q_OBJECT
public:
    CFaultMenu(QMenu& menu, CWorkbenchSession& session);

    // Ticks the faults in force.
    void ShowActive();
    // The action of a fault, for tests.
    QAction* ActionOf(const CPlantFault& fault) const;

signals:
    void Changed();  // a fault was set or cleared

private:
    static QString Caption(const CPlantFault& fault);

    CWorkbenchSession& m_session;
    std::vector<CPlantFault> m_faults;
    std::vector<QAction*> m_actions;
};
