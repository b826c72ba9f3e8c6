#include "trace/trace_buffer.h"

#include <algorithm>

CTraceBuffer::CTraceBuffer(size_t capacity)
    : m_capacity(std::max(BLOCK, capacity / BLOCK * BLOCK)),
      m_ring(m_capacity),
      m_checkpoints(m_capacity / BLOCK * MAX_CHANNELS),
      m_summary(m_capacity, MAX_CHANNELS)
{
}

int CTraceBuffer::AddChannel(const std::string& name, bool isBit, int32_t initial, bool isSigned,
                             const std::string& scope, uint64_t joinMs)
{
    const int channel = ChannelCount();
    if (channel >= MAX_CHANNELS)
        return -1;
    m_names.push_back(name);
    m_scopes.push_back(scope);
    m_isBit.push_back(isBit);
    m_isSigned.push_back(isSigned);
    // The value stands from the join in the base and in every checkpoint held.
    m_joinMs[channel] = joinMs;
    m_current[channel] = m_base[channel] = CValue{initial, joinMs};
    m_lowest[channel] = m_highest[channel] = initial;
    for (size_t block = 0; block < m_capacity / BLOCK; ++block)
        m_checkpoints[block * MAX_CHANNELS + channel] = CValue{initial, joinMs};
    return channel;
}

void CTraceBuffer::Set(int channel, uint64_t timeMs, int32_t value)
{
    if (m_current[channel].value == value)
        return;
    if (m_count % BLOCK == 0) {
        const size_t block = m_count / BLOCK % (m_capacity / BLOCK);
        std::copy(m_current, m_current + MAX_CHANNELS, m_checkpoints.begin() + block * MAX_CHANNELS);
    }
    if (m_count >= m_capacity) {
        const CChange& leaving = At(m_count - m_capacity);
        m_base[leaving.channel] = CValue{leaving.value, leaving.timeMs};
    }
    m_ring[m_count % m_capacity] = CChange{timeMs, channel, value};
    m_summary.Add(m_count, channel, value);
    ++m_count;
    m_current[channel] = CValue{value, timeMs};
    m_lowest[channel] = std::min(m_lowest[channel], value);
    m_highest[channel] = std::max(m_highest[channel], value);
}

uint64_t CTraceBuffer::FirstAfter(uint64_t timeMs) const
{
    uint64_t low = First();
    uint64_t high = m_count;
    while (low < high) {
        const uint64_t mid = low + (high - low) / 2;
        if (At(mid).timeMs <= timeMs)
            low = mid + 1;
        else
            high = mid;
    }
    return low;
}

CTraceBuffer::CValue CTraceBuffer::ValueSince(int channel, uint64_t timeMs) const
{
    const uint64_t end = FirstAfter(timeMs);
    if (end == m_count)
        return m_current[channel];
    // From the checkpoint of end's block while that block is held whole,
    // otherwise from the values before the oldest change.
    uint64_t from = end / BLOCK * BLOCK;
    CValue value = m_base[channel];
    if (from >= First())
        value = m_checkpoints[from / BLOCK % (m_capacity / BLOCK) * MAX_CHANNELS + channel];
    else
        from = First();
    for (uint64_t i = from; i < end; ++i)
        if (At(i).channel == channel)
            value = CValue{At(i).value, At(i).timeMs};
    return value;
}

// The biggest whole bucket that starts at each point, or else one change.
void CTraceBuffer::Fold(uint64_t from, uint64_t to, CTraceSummary::CSpan* spans) const
{
    const int channels = ChannelCount();
    uint64_t i = std::max(from, First());
    to = std::min(to, m_count);
    while (i < to) {
        if (i % CTraceSummary::BUCKET != 0 || i + CTraceSummary::BUCKET > to) {
            spans[At(i).channel].Add(At(i).value);
            ++i;
            continue;
        }
        int level = 0;
        while (m_summary.Bucket(level + 1, i, to))
            ++level;
        const CTraceSummary::CSpan* bucket = m_summary.Bucket(level, i, to);
        for (int channel = 0; channel < channels; ++channel)
            spans[channel].Add(bucket[channel]);
        i += CTraceSummary::Size(level);
    }
}

void CTraceBuffer::Join(const CTraceChannel& channel, int64_t value, uint64_t timeMs)
{
    AddChannel(channel.name, channel.isBit, static_cast<int32_t>(value), channel.isSigned, channel.scope, timeMs);
}

void CTraceBuffer::Change(int channel, uint64_t timeMs, int64_t value)
{
    if (channel < ChannelCount())
        Set(channel, timeMs, static_cast<int32_t>(value));
}
