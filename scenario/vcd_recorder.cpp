#include "scenario/vcd_recorder.h"

#include "firmware/fw_clock.h"
#include "firmware/fw_main.h"
#include "sim/counting_beep.h"
#include "sim/virtual_simulator.h"

namespace {
const char* const MOTOR_VARS[3] = {"disk_position", "exit_position", "main_position"};
}  // namespace

CVcdRecorder::CVcdRecorder(CVirtualSimulator& sim) : m_sim(sim)
{
    for (int p = 0; p < 6; ++p)
        m_ports[p] = port_bytes[p]->load(std::memory_order_relaxed);
    for (int i = 0; i < WIRED_SIGNAL_COUNT; ++i) {
        const CWiredSignal& signal = WIRED_SIGNALS[i];
        m_signalVar[i] = m_writer.AddVariable("ports", signal.name, 1, sig_read(signal.signal));
    }
    m_stateVar = m_writer.AddNumber("firmware", "state_number", state_number);
    m_runSecVar = m_writer.AddNumber("firmware", "run_sec", run_sec);
    for (int m = 0; m < 3; ++m)
        m_motorVar[m] = m_writer.AddNumber("panel", MOTOR_VARS[m], MotorPosition(m));
    m_beepsVar = m_writer.AddNumber("panel", "beeps", static_cast<uint64_t>(CCountingBeep::s_count.load()));
}

bool CVcdRecorder::Open(const std::string& path, std::string& error) { return m_writer.Open(path, error); }

uint64_t CVcdRecorder::MotorPosition(int motor) const
{
    CSimulatorView& view = m_sim.View();
    const CMotorWidget* const motors[] = {&view.m_motorDisk, &view.m_motorExit, &view.m_motorMain};
    return static_cast<uint64_t>(motors[motor]->m_position.load());
}

void CVcdRecorder::Sample(uint64_t timeMs)
{
    bool portsChanged = false;
    for (int p = 0; p < 6; ++p) {
        const uint8_t value = port_bytes[p]->load(std::memory_order_relaxed);
        portsChanged |= value != m_ports[p];
        m_ports[p] = value;
    }
    if (portsChanged)
        for (int i = 0; i < WIRED_SIGNAL_COUNT; ++i) {
            const port_signal s = WIRED_SIGNALS[i].signal;
            m_writer.Change(m_signalVar[i], timeMs, (m_ports[s.port] >> s.bit) & 1u);
        }
    m_writer.Change(m_stateVar, timeMs, state_number);
    m_writer.Change(m_runSecVar, timeMs, run_sec);
    for (int m = 0; m < 3; ++m)
        m_writer.Change(m_motorVar[m], timeMs, MotorPosition(m));
    m_writer.Change(m_beepsVar, timeMs, static_cast<uint64_t>(CCountingBeep::s_count.load()));
}

bool CVcdRecorder::Finish(std::string& error)
{
    Sample(m_sim.Now());
    return m_writer.Finish(m_sim.Now(), error);
}
