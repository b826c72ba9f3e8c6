#include "workbench/model/trace_recorder.h"

#include "firmware/fw_watch.h"

CTraceRecorder::CTraceRecorder()
{
    for (int i = 0; i < WIRED_SIGNAL_COUNT; ++i)
        m_signalChannel[i] = m_buffer.AddChannel(WIRED_SIGNALS[i].name, true, sig_read(WIRED_SIGNALS[i].signal));
    AddVariable("state_number");
    AddVariable("run_sec");
}

bool CTraceRecorder::AddVariable(const std::string& name)
{
    const fw_variable* variable = fw_variable_find(name.c_str());
    if (!variable || Traces(name))
        return false;
    const int channel = m_buffer.AddChannel(name, false, fw_variable_read(variable), variable->is_signed != 0);
    if (channel < 0)
        return false;
    m_watched.push_back(CWatched{variable, channel});
    return true;
}

bool CTraceRecorder::Traces(const std::string& name) const
{
    for (int channel = 0; channel < m_buffer.ChannelCount(); ++channel)
        if (m_buffer.Name(channel) == name)
            return true;
    return false;
}

void CTraceRecorder::Sample(uint64_t nowMs)
{
    // Stamped with the ms the values came about in, as the runner's traces are.
    const uint64_t at = nowMs > 0 ? nowMs - 1 : 0;
    m_signals.Sample([&](int row, uint8_t level) { m_buffer.Set(m_signalChannel[row], at, level); });
    for (const CWatched& watched : m_watched)
        m_buffer.Set(watched.channel, at, fw_variable_read(watched.variable));
}
