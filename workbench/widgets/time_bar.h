#pragma once
// The time bar: run or pause, the three steps, the box of the condition to
// run until, the six speeds, the virtual clock (mm:ss.mmm), the speed
// achieved, and "Reset CPU".

#include <QElapsedTimer>
#include <QToolBar>

#include <cstdint>

#include "workbench/widgets/fixed_label.h"

class CConditionBox;
class CWorkbenchActions;

class CTimeBar : public QToolBar {
    Q_OBJECT
public:
    CTimeBar(CWorkbenchActions& actions, QWidget* parent = nullptr);

    void Show(uint64_t virtualMs, double achieved, bool running);
    CConditionBox& ConditionBox() { return *m_condition; }

private:
    CConditionBox* m_condition;
    CFixedLabel* m_clock;
    CFixedLabel* m_achieved;
    uint64_t m_shownMs = UINT64_MAX;
    bool m_shownRunning = true;
    QElapsedTimer m_sinceAchieved;  // the speed achieved is shown afresh 4 times a second
};
