#include "support/trace_log.h"

#include "board/wired_signals.h"
#include "sim/virtual_time.h"

CTraceLog::CTraceLog(CVirtualTime& harness) : m_harness(harness)
{
    m_recorder.AddVariable("buzzer_request");
    m_recorder.AddSink(*this);
    m_harness.m_onSample = [this](uint64_t nowMs) { m_recorder.Sample(nowMs); };
}

CTraceLog::~CTraceLog() { m_harness.m_onSample = nullptr; }

void CTraceLog::Join(const CTraceChannel& channel, int64_t value, uint64_t /*timeMs*/)
{
    m_names.push_back(channel.name);
    m_current.push_back(static_cast<int32_t>(value));
    m_base.push_back(static_cast<int32_t>(value));
}

void CTraceLog::Change(int channel, uint64_t timeMs, int64_t value)
{
    m_current[channel] = static_cast<int32_t>(value);
    m_trace.push_back(CTraceEntry{timeMs, m_names[channel], m_current[channel]});
}

void CTraceLog::ClearTrace()
{
    m_recorder.Sample(m_harness.Now());  // what changed since the last sample belongs to the new start
    m_trace.clear();
    m_base = m_current;
}

std::vector<CTraceLog::CTraceEntry> CTraceLog::Changes(const std::string& name, uint64_t fromMs, uint64_t toMs) const
{
    std::vector<CTraceEntry> found;
    for (const CTraceEntry& entry : m_trace)
        if (entry.name == name && entry.timeMs >= fromMs && entry.timeMs <= toMs)
            found.push_back(entry);
    return found;
}

std::vector<uint64_t> CTraceLog::TimesOf(const std::string& name, int32_t value, uint64_t fromMs, uint64_t toMs) const
{
    std::vector<uint64_t> times;
    for (const CTraceEntry& entry : Changes(name, fromMs, toMs))
        if (entry.value == value)
            times.push_back(entry.timeMs);
    return times;
}

uint64_t CTraceLog::FirstTime(const std::string& name, int32_t value, uint64_t fromMs) const
{
    const std::vector<uint64_t> times = TimesOf(name, value, fromMs);
    return times.empty() ? UINT64_MAX : times.front();
}

int32_t CTraceLog::ValueAt(const std::string& name, uint64_t timeMs) const
{
    int32_t value = 0;
    for (size_t channel = 0; channel < m_names.size(); ++channel)
        if (m_names[channel] == name)
            value = m_base[channel];
    for (const CTraceEntry& entry : m_trace) {
        if (entry.timeMs > timeMs)
            break;
        if (entry.name == name)
            value = entry.value;
    }
    return value;
}

size_t CTraceLog::CountNonZero(const std::string& name, uint64_t fromMs, uint64_t toMs) const
{
    size_t count = 0;
    for (const CTraceEntry& entry : Changes(name, fromMs, toMs))
        if (entry.value != 0)
            ++count;
    return count;
}

std::string CTraceLog::NameOf(port_signal signal)
{
    for (const CWiredSignal& wired : WIRED_SIGNALS)
        if (wired.signal == signal)
            return wired.name;
    return "port" + std::to_string(signal.port) + ".bit" + std::to_string(signal.bit);
}
