#include "sim/machine_invariants.h"

#include "board/port_bytes.h"
#include "firmware/fw_main.h"
#include "sim/panel_parts.h"
#include "sim/virtual_simulator.h"

std::string CMachineInvariants::AfterMs()
{
    if (m_sim.ResetsDone() != m_resetsSeen) {
        m_resetsSeen = m_sim.ResetsDone();
        m_lastStartupAt = m_sim.Now();
    }
    const bool keyDown = sig_read(POWER_ON_OFF) == 0 || sig_read(SOL_VALVE) == 0;
    if (m_keyDown && !keyDown)
        m_lastKeyUpAt = m_sim.Now();
    m_keyDown = keyDown;
    if (m_sim.Now() % 100 == 0)
        return {};
    return Broken();
}

// Cheap while everything holds: text is made only for what is broken.
std::string CMachineInvariants::Broken() const
{
    CSimulatorView& v = m_sim.View();
    const int32_t gauge = v.m_gaugeHeater.m_level.load();
    std::string why;
    if (sig_read(DISK_MOT_A) && sig_read(DISK_MOT_B))
        why = "both disk motor wires driven";
    else if (sig_read(EXIT_MOT_A) && sig_read(EXIT_MOT_B))
        why = "both exit motor wires driven";
    else if (state_number < 1 || state_number > 10)
        why = "state_number " + std::to_string(state_number);
    else if (gauge < 0 || gauge > 50)
        why = "gauge level " + std::to_string(gauge);
    else if (sig_read(HEATER) && state_number != 7 && state_number != 1)
        why = "heater on in state " + std::to_string(state_number);
    for (int32_t m = 0; m < MOTOR_COUNT; ++m) {
        const CMotorWidget& motor = panel_motor(v, m);
        const int32_t position = motor.m_position.load();
        if (position < 0 || position > 100)
            why += motor.m_caption + " at " + std::to_string(position);
    }
    // The end stops follow the positions from the first exchange after a
    // start, or hold the level a stuck switch gives them. A key held down may
    // hold the firmware in its wait for the release, with no exchange: the
    // positions run on and the end stops keep what the last exchange wrote.
    const bool exchanging = !m_keyDown && m_sim.Now() > m_lastKeyUpAt + 2;
    if (m_sim.Now() > m_lastStartupAt + 2 && !m_sim.Stopping() && exchanging) {
        const CPlantFaults& faults = m_sim.Faults();
        const auto agrees = [&faults](port_signal end, bool there) {
            return sig_read(end) == (faults.EndLevel(end, !there) ? 1 : 0);
        };
        const int32_t disk = v.m_motorDisk.m_position.load();
        const int32_t exit = v.m_motorExit.m_position.load();
        if (!agrees(DISK_MOT_RS, disk == 0) || !agrees(DISK_MOT_LS, disk == 100))
            why += "disk end stops disagree with position " + std::to_string(disk);
        if (!agrees(OVER_SENSOR_CCW, exit == 0) || !agrees(OVER_SENSOR_CW, exit == 100))
            why += "exit end stops disagree with position " + std::to_string(exit);
    }
    return why;
}
