#include "trace/trace_edges.h"

#include "trace/trace_buffer.h"

std::optional<uint64_t> CTraceEdges::Next(uint64_t timeMs) const
{
    for (uint64_t i = m_buffer.FirstAfter(timeMs); i < m_buffer.End(); ++i)
        if (m_buffer.At(i).channel == m_channel)
            return m_buffer.At(i).timeMs;
    return std::nullopt;
}

// ValueSince gives the moment the value held just before timeMs was taken;
// 0 stands for a value held from the start, which is no edge.
std::optional<uint64_t> CTraceEdges::Previous(uint64_t timeMs) const
{
    if (timeMs == 0)
        return std::nullopt;
    const CTraceBuffer::CValue value = m_buffer.ValueSince(m_channel, timeMs - 1);
    if (value.sinceMs == 0)
        return std::nullopt;
    return value.sinceMs;
}

CTraceEdges::CPulse CTraceEdges::PulseAt(uint64_t timeMs) const
{
    CPulse pulse;
    const std::optional<uint64_t> after = Next(timeMs);
    const std::optional<uint64_t> from = Previous(timeMs + 1);
    if (!after || !from)
        return pulse;
    pulse.widthMs = *after - *from;
    if (const std::optional<uint64_t> before = Previous(*from))
        pulse.periodMs = *after - *before;
    return pulse;
}
