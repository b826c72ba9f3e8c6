#include "sim/trace_recorder.h"

#include "app/core/simulator_view.h"
#include "board/wired_signals.h"
#include "firmware/fw_watch.h"
#include "sim/counting_beep.h"
#include "sim/panel_parts.h"

namespace {
constexpr int BEEPS = MOTOR_COUNT;  // the part after the motors
const char* const PANEL_NAMES[MOTOR_COUNT + 1] = {"disk_position", "exit_position", "main_position", "beeps"};
}  // namespace

CTraceRecorder::CTraceRecorder(CSimulatorView* view) : m_view(view)
{
    for (int i = 0; i < WIRED_SIGNAL_COUNT; ++i)
        Add({"ports", WIRED_SIGNALS[i].name, true, false}, sig_read(WIRED_SIGNALS[i].signal), 0);
    AddVariable("state_number");
    AddVariable("run_sec");
    if (m_view)
        for (int part = 0; part <= BEEPS; ++part)
            AddNumber({"panel", PANEL_NAMES[part], false, false}, nullptr, part, 0);
}

int CTraceRecorder::Add(const CTraceChannel& channel, int64_t value, uint64_t timeMs)
{
    m_channels.push_back(channel);
    m_values.push_back(value);
    for (CTraceSink* sink : m_sinks)
        sink->Join(channel, value, timeMs);
    return static_cast<int>(m_channels.size()) - 1;
}

void CTraceRecorder::AddNumber(const CTraceChannel& channel, const fw_variable* variable, int part, uint64_t timeMs)
{
    CNumber number{0, 0, variable, part};
    number.last = Read(number);
    number.channel = Add(channel, number.last, timeMs);
    m_numbers.push_back(number);
}

void CTraceRecorder::AddSink(CTraceSink& sink, uint64_t timeMs)
{
    for (size_t channel = 0; channel < m_channels.size(); ++channel)
        sink.Join(m_channels[channel], m_values[channel], timeMs);
    m_sinks.push_back(&sink);
}

bool CTraceRecorder::AddVariable(const std::string& name, uint64_t timeMs)
{
    const fw_variable* variable = fw_variable_find(name.c_str());
    if (!variable || Traces(name))
        return false;
    AddNumber({"firmware", name, false, variable->is_signed != 0}, variable, 0, timeMs);
    return true;
}

bool CTraceRecorder::Traces(const std::string& name) const
{
    for (const CTraceChannel& channel : m_channels)
        if (channel.name == name)
            return true;
    return false;
}

std::string CTraceRecorder::CheckVariable(const std::string& name)
{
    if (fw_variable_find(name.c_str()))
        return {};
    std::string valid;
    for (uint8_t i = 0; i < FW_VARIABLE_COUNT; ++i)
        valid += (i ? ", " : "") + std::string(fw_variables[i].name);
    return "unknown firmware variable '" + name + "' (valid: " + valid + ")";
}

int64_t CTraceRecorder::Read(const CNumber& number) const
{
    if (number.variable)
        return fw_variable_value(number.variable);
    if (number.part == BEEPS)
        return CCountingBeep::s_count.load();
    return panel_motor(*m_view, number.part).m_position.load();
}

void CTraceRecorder::Hand(int channel, uint64_t timeMs, int64_t value)
{
    m_values[channel] = value;
    for (CTraceSink* sink : m_sinks)
        sink->Change(channel, timeMs, value);
}

void CTraceRecorder::Sample(uint64_t timeMs)
{
    m_signals.Sample([&](int row, uint8_t level) {
        if (m_values[row] != level)
            Hand(row, timeMs, level);
    });
    for (CNumber& number : m_numbers) {
        const int64_t value = Read(number);
        if (value != number.last) {
            number.last = value;
            Hand(number.channel, timeMs, value);
        }
    }
}
