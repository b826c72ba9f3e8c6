#include "workbench/model/session_trace.h"

#include <vector>

#include "trace/vcd_sink.h"

CSessionTrace::CSessionTrace(CSimulatorView& view) : m_recorder(&view) { m_recorder.AddSink(m_buffer); }

// Its value read now is the one the firmware left in the last ms sampled.
bool CSessionTrace::AddVariable(const std::string& name)
{
    if (m_buffer.ChannelCount() >= CTraceBuffer::MAX_CHANNELS)
        return false;
    return m_recorder.AddVariable(name, m_stampMs);
}

// Stamped with the ms the values came about in, as the runner's traces are.
void CSessionTrace::Sample(uint64_t nowMs)
{
    m_stampMs = nowMs > 0 ? nowMs - 1 : 0;
    m_recorder.Sample(m_stampMs);
}

// The ring replayed into the writer the runner uses: the same channels in the
// same order, the values before the oldest change held as the starting ones,
// and a variable added later written from its join on.
// The last ms is sampled first, as the runner does before it closes a trace.
bool CSessionTrace::ExportVcd(const std::string& path, uint64_t nowMs, std::string& error)
{
    m_recorder.Sample(nowMs);
    CVcdSink vcd("trelvik-workbench", true);
    for (int channel = 0; channel < m_buffer.ChannelCount(); ++channel)
        vcd.Join({m_buffer.Scope(channel), m_buffer.Name(channel), m_buffer.IsBit(channel), m_buffer.IsSigned(channel)},
                 m_buffer.Base(channel), m_buffer.JoinMs(channel));
    if (!vcd.Open(path, error))
        return false;
    for (uint64_t i = m_buffer.First(); i < m_buffer.End(); ++i) {
        const CTraceBuffer::CChange& change = m_buffer.At(i);
        vcd.Change(change.channel, change.timeMs, change.value);
    }
    return vcd.Finish(nowMs, error);
}
