#include "workbench/trace_recorder.h"

#include "firmware/fw_watch.h"

CTraceRecorder::CTraceRecorder()
{
    for (int p = 0; p < 6; ++p)
        m_ports[p] = port_bytes[p]->load(std::memory_order_relaxed);
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
    bool portsChanged = false;
    for (int p = 0; p < 6; ++p) {
        const uint8_t value = port_bytes[p]->load(std::memory_order_relaxed);
        portsChanged |= value != m_ports[p];
        m_ports[p] = value;
    }
    if (portsChanged)
        for (int i = 0; i < WIRED_SIGNAL_COUNT; ++i) {
            const port_signal s = WIRED_SIGNALS[i].signal;
            m_buffer.Set(m_signalChannel[i], at, (m_ports[s.port] >> s.bit) & 1);
        }
    for (const CWatched& watched : m_watched)
        m_buffer.Set(watched.channel, at, fw_variable_read(watched.variable));
}
