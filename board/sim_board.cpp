#include "board/sim_board.h"

#include "app/core/simulator_view.h"
#include "board/board_link.h"
#include "board/plant_seam.h"
#include "board/port_bytes.h"
#include "board/port_pin.h"
#include "board/word_binding.h"
#include "firmware/fw_board_vars.h"

namespace {

constexpr int32_t FIRMWARE_PERIOD_MS = 1;

// A motor follows its two drive wires: B runs it toward 100, A toward 0, B
// wins when both are on. A running motor whose drive is unchanged is left
// alone; one whose other wire has taken over reverses at once, because the
// controller turns a travel round inside one step, with no exchange between.
void drive_motor(CMotorWidget& motor, port_signal towardHigh, port_signal towardLow)
{
    if (sig_read(towardHigh)) {
        if (!motor.m_running.load() || motor.m_direction.load() != CMotorWidget::FORWARD)
            motor.StartMotor(CMotorWidget::FORWARD);
    } else if (sig_read(towardLow)) {
        if (!motor.m_running.load() || motor.m_direction.load() != CMotorWidget::BACKWARD)
            motor.StartMotor(CMotorWidget::BACKWARD);
    } else {
        motor.StopMotor();
    }
}

// The end stops report the motor's position, active low, on every exchange,
// unless a stuck switch holds one; the indicators show what the firmware reads.
void report_end_stops(const CMotorWidget& motor, port_signal lowEnd, port_signal highEnd, CIndicatorWidget& lowMark,
                      CIndicatorWidget& highMark)
{
    const int32_t position = motor.m_position.load();
    const bool lowLevel = plant_end_level(lowEnd, position != CMotorWidget::END_LOW);
    const bool highLevel = plant_end_level(highEnd, position != CMotorWidget::END_HIGH);
    sig_write(highEnd, highLevel);
    sig_write(lowEnd, lowLevel);
    // The lit indicator is told first, so at the low end the low one leads.
    if (!lowLevel && highLevel) {
        lowMark.SetState(1);
        highMark.SetState(0);
    } else {
        highMark.SetState(highLevel ? 0 : 1);
        lowMark.SetState(lowLevel ? 0 : 1);
    }
}

}  // namespace

CSimBoard::CSimBoard() { g_pBoard = this; }

CSimBoard::~CSimBoard()
{
    m_thread.Stop();
    if (g_pBoard == this)
        g_pBoard = nullptr;
}

void CSimBoard::StartExchange()
{
    sig_off(RUN_KEY);      // cover closed
    sig_on(POWER_ON_OFF);  // power key released
    sig_off(DISK_MOT_RS);
    sig_on(DISK_MOT_LS);
    sig_on(WATER_SOL);
    sig_off(DRAWER);          // drawer closed
    sig_on(OVER_SENSOR_CCW);  // neither discharge end stop active
    sig_on(OVER_SENSOR_CW);
    for (port_signal input : {DISK_MOT_RS, DISK_MOT_LS, OVER_SENSOR_CCW, OVER_SENSOR_CW})
        sig_write(input, plant_end_level(input, sig_read(input)));
    for (CPortPin* pin : m_pins)
        pin->Sample();
    for (CWordBinding* word : m_words)
        word->Sample();
    m_pinsStale.store(true, std::memory_order_relaxed);
}

void CSimBoard::PeriodicExchange()
{
    // Every pin knows the level it last passed on, so while no port byte has
    // changed since the last walk no pin can have news: the walk is skipped.
    const uint64_t ports = port_bytes_snapshot();
    const bool stale = m_pinsStale.load(std::memory_order_relaxed);
    if (ports != m_lastPorts || stale) {
        if (stale)
            m_pinsStale.store(false, std::memory_order_relaxed);
        m_lastPorts = ports;
        for (CPortPin* pin : m_pins)
            pin->Refresh();
    }
    for (CWordBinding* word : m_words)
        word->Refresh();

    CSimulatorView& view = *g_pView;
    view.m_motorMain.SetDirection(sig_read(RELAY) ? 1 : 0);

    drive_motor(view.m_motorExit, EXIT_MOT_B, EXIT_MOT_A);
    report_end_stops(view.m_motorExit, OVER_SENSOR_CCW, OVER_SENSOR_CW, view.m_exitStopLeft, view.m_exitStopRight);
    drive_motor(view.m_motorDisk, DISK_MOT_B, DISK_MOT_A);
    report_end_stops(view.m_motorDisk, DISK_MOT_RS, DISK_MOT_LS, view.m_diskStopLeft, view.m_diskStopRight);

    // The heater warms the gauge; the firmware regulates on pulses and reads it
    // back. A heater that does not warm leaves nothing to read.
    if (sig_read(HEATER)) {
        heater_pulses = static_cast<uint8_t>(heater_pulses + 1);
        const int32_t level = plant_warms() ? view.m_gaugeHeater.GetValue() : 0;
        heater_reading = static_cast<uint16_t>(CGaugeWidget::READING_PER_LEVEL * level);
    } else {
        heater_reading = 0;
    }

    if (buzzer_request != 0) {
        buzzer_request = 0;
        view.m_buzzer.SetState(1);
    } else {
        view.m_buzzer.SetState(0);
    }
}

void CSimBoard::StopFirmware()
{
    if (m_thread.m_bRunning.load())
        m_thread.Stop();
}

void CSimBoard::StartFirmware()
{
    StopFirmware();
    m_thread.Start(FIRMWARE_PERIOD_MS);
}

void CSimBoard::Shutdown()
{
    StopFirmware();
    m_pins.clear();
    m_pins.shrink_to_fit();
}
