#include "trace/vcd_sink.h"

void CVcdSink::Join(const CTraceChannel& channel, int64_t value, uint64_t timeMs)
{
    const uint64_t initial = static_cast<uint64_t>(value);  // a signed one as its two's complement
    if (m_open)
        m_vars.push_back(-1);
    else if (channel.isBit)
        m_vars.push_back(m_writer.AddVariable(channel.scope, channel.name, 1, initial));
    else
        m_vars.push_back(m_writer.AddNumber(channel.scope, channel.name, initial, channel.isSigned));
    if (!m_open && m_keepJoinTimes)
        m_writer.JoinAt(m_vars.back(), timeMs);
}

void CVcdSink::Change(int channel, uint64_t timeMs, int64_t value)
{
    if (m_vars[channel] >= 0)
        m_writer.Change(m_vars[channel], timeMs, static_cast<uint64_t>(value));
}

bool CVcdSink::Open(const std::string& path, std::string& error)
{
    m_open = m_writer.Open(path, error);
    return m_open;
}
