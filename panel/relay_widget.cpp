#include "panel/relay_widget.h"

#include "panel/motor_widget.h"

void CRelayWidget::SetState(int value)
{
    if (m_target)
        m_target->SetDirection(value);
}

void CRelayWidget::SetTarget(CMotorWidget* motor) { m_target = motor; }
