#include "support/end_switch_model.h"

#include "firmware/fw_board_vars.h"
#include "sim/virtual_time.h"

CEndSwitchModel::CEndSwitchModel(CVirtualTime& harness)
{
    harness.m_onMs = [this] { OnMs(); };
    WriteEnds();
}

void CEndSwitchModel::Move(int32_t& position, port_signal towardHigh, port_signal towardLow)
{
    if (sig_read(towardHigh))
        position = position + STEP_PER_TICK > POSITION_HIGH ? POSITION_HIGH : position + STEP_PER_TICK;
    else if (sig_read(towardLow))
        position = position - STEP_PER_TICK < POSITION_LOW ? POSITION_LOW : position - STEP_PER_TICK;
}

void CEndSwitchModel::WriteEnd(port_signal input, bool atEnd) const
{
    const bool stuck = m_stuckSet && m_stuck.port == input.port && m_stuck.bit == input.bit;
    sig_write(input, stuck || !atEnd);
}

void CEndSwitchModel::WriteEnds() const
{
    WriteEnd(DISK_MOT_RS, m_diskPosition == POSITION_LOW);
    WriteEnd(DISK_MOT_LS, m_diskPosition == POSITION_HIGH);
    WriteEnd(OVER_SENSOR_CCW, m_exitPosition == POSITION_LOW);
    WriteEnd(OVER_SENSOR_CW, m_exitPosition == POSITION_HIGH);
}

void CEndSwitchModel::OnMs()
{
    ++m_ms;
    if (m_ms % TICK_MS == 0) {
        Move(m_diskPosition, DISK_MOT_B, DISK_MOT_A);
        Move(m_exitPosition, EXIT_MOT_B, EXIT_MOT_A);
    }
    WriteEnds();

    if (sig_read(HEATER)) {
        if (!m_heaterOn) {
            m_heaterOn = true;
            m_heaterOnMs = 0;
            m_heaterLevel = 0;
        }
        ++m_heaterOnMs;
        if (m_heaterOnMs % HEATER_LEVEL_MS == 0 && m_heaterLevel < HEATER_LEVEL_MAX)
            ++m_heaterLevel;
        heater_pulses = static_cast<uint8_t>(heater_pulses + 1);
        heater_reading = static_cast<uint16_t>(READING_PER_LEVEL * m_heaterLevel);
    } else {
        m_heaterOn = false;
        m_heaterLevel = 0;
        heater_reading = 0;
    }

    if (buzzer_request != 0) {
        ++m_beeps;
        buzzer_request = 0;
    }
}
