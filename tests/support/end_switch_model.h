#pragma once
// A stand-in for the board's plant, hooked to the harness's per-ms hook: the
// disk and exit mechanisms travel between their end switches, the heater warms
// up and is counted as the board counts it, and beep requests are consumed.
//
// Each mechanism starts in the middle and moves one step every 100 ms while a
// drive wire is on (B toward the high end, A toward the low one, B wins). The
// end inputs read 0 at their end: DISK_MOT_RS and OVER_SENSOR_CCW at the low
// end, DISK_MOT_LS and OVER_SENSOR_CW at the high one. While HEATER is on,
// heater_pulses counts every ms and heater_reading follows a level that rises
// one step every 500 ms from 0 after switching on, up to full; 0 while off.

#include <cstdint>

#include "board/port_bytes.h"
#include "panel/gauge_widget.h"
#include "panel/motor_widget.h"

class CVirtualTime;

class CEndSwitchModel {
public:
    // The mechanics, as the panel's motor and gauge widgets play them.
    static constexpr int32_t POSITION_START = CMotorWidget::START_POSITION;
    static constexpr int32_t POSITION_LOW = CMotorWidget::END_LOW;
    static constexpr int32_t POSITION_HIGH = CMotorWidget::END_HIGH;
    static constexpr int32_t STEP_PER_TICK = CMotorWidget::STEP_PER_TICK;
    static constexpr uint64_t TICK_MS = 100;
    static constexpr uint64_t HEATER_LEVEL_MS = TICK_MS * CGaugeWidget::TICKS_PER_STEP;
    static constexpr int32_t HEATER_LEVEL_MAX = CGaugeWidget::HEIGHT;
    static constexpr int32_t READING_PER_LEVEL = CGaugeWidget::READING_PER_LEVEL;

    // Hooks itself to the harness's m_onMs and writes the end inputs at once.
    explicit CEndSwitchModel(CVirtualTime& harness);

    // One virtual ms of the plant.
    void OnMs();
    // Writes the four end inputs from the positions.
    void WriteEnds() const;

    // An end input that is held at 1 whatever the position: that end never arrives.
    void NeverArrive(port_signal endInput)
    {
        m_stuck = endInput;
        m_stuckSet = true;
    }

    int32_t m_diskPosition = POSITION_START;
    int32_t m_exitPosition = POSITION_START;
    int32_t m_heaterLevel = 0;
    uint32_t m_beeps = 0;  // non-zero beep requests consumed

private:
    static void Move(int32_t& position, port_signal towardHigh, port_signal towardLow);
    void WriteEnd(port_signal input, bool atEnd) const;

    uint64_t m_ms = 0;
    uint64_t m_heaterOnMs = 0;
    bool m_heaterOn = false;
    port_signal m_stuck{0, 0};
    bool m_stuckSet = false;
};
