#include "scenario/vcd_recorder.h"

#include "firmware/fw_clock.h"
#include "firmware/fw_main.h"
#include "firmware/fw_watch.h"
#include "sim/counting_beep.h"
#include "sim/panel_parts.h"
#include "sim/virtual_simulator.h"

namespace {
const char* const MOTOR_VARS[3] = {"disk_position", "exit_position", "main_position"};

// The variable's value as the trace writes it: a signed one as its two's complement.
uint64_t value_of(const fw_variable* variable)
{
    return static_cast<uint64_t>(fw_variable_value(variable));
}
}  // namespace

CVcdRecorder::CVcdRecorder(CVirtualSimulator& sim) : m_sim(sim)
{
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

std::string CVcdRecorder::CheckVariable(const std::string& name)
{
    if (fw_variable_find(name.c_str()))
        return {};
    std::string valid;
    for (uint8_t i = 0; i < FW_VARIABLE_COUNT; ++i)
        valid += (i ? ", " : "") + std::string(fw_variables[i].name);
    return "unknown firmware variable '" + name + "' (valid: " + valid + ")";
}

bool CVcdRecorder::Watch(const std::string& name, std::string& error)
{
    const fw_variable* variable = fw_variable_find(name.c_str());
    if (!variable) {
        error = CheckVariable(name);
        return false;
    }
    if (name == "state_number" || name == "run_sec")
        return true;  // in every trace already
    for (const CWatched& watched : m_watched)
        if (watched.variable == variable)
            return true;
    m_watched.push_back({variable, m_writer.AddNumber("firmware", name, value_of(variable), variable->is_signed)});
    return true;
}

bool CVcdRecorder::Open(const std::string& path, std::string& error) { return m_writer.Open(path, error); }

uint64_t CVcdRecorder::MotorPosition(int motor) const
{
    return static_cast<uint64_t>(panel_motor(m_sim.View(), motor).m_position.load());
}

void CVcdRecorder::Sample(uint64_t timeMs)
{
    m_signals.Sample([&](int row, uint8_t level) { m_writer.Change(m_signalVar[row], timeMs, level); });
    m_writer.Change(m_stateVar, timeMs, state_number);
    m_writer.Change(m_runSecVar, timeMs, run_sec);
    for (int m = 0; m < 3; ++m)
        m_writer.Change(m_motorVar[m], timeMs, MotorPosition(m));
    m_writer.Change(m_beepsVar, timeMs, static_cast<uint64_t>(CCountingBeep::s_count.load()));
    for (const CWatched& watched : m_watched)
        m_writer.Change(watched.var, timeMs, value_of(watched.variable));
}

bool CVcdRecorder::Finish(std::string& error)
{
    Sample(m_sim.Now());
    return m_writer.Finish(m_sim.Now(), error);
}
