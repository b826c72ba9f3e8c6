#include "trace/trace_summary.h"

#include <algorithm>

void CTraceSummary::CSpan::Add(const CSpan& later)
{
    if (!later.Changed())
        return;
    low = std::min(low, later.low);
    high = std::max(high, later.high);
    last = later.last;
}

// A level's slots: as many buckets as the ring holds, one more for the
// bucket being filled, and one for a bucket the ring has only begun to drop.
CTraceSummary::CTraceSummary(uint64_t capacity, int channels) : m_channels(channels)
{
    for (int level = 0; Size(level) <= capacity; ++level) {
        const uint64_t count = (capacity + Size(level) - 1) / Size(level) + 1;
        m_levels.push_back(CLevel{count, std::vector<CSpan>(count * static_cast<uint64_t>(channels))});
    }
}

void CTraceSummary::Add(uint64_t index, int channel, int32_t value)
{
    for (size_t level = 0; level < m_levels.size(); ++level) {
        CLevel& at = m_levels[level];
        const uint64_t size = Size(static_cast<int>(level));
        CSpan* slot = &at.spans[index / size % at.count * static_cast<uint64_t>(m_channels)];
        if (index % size == 0)
            std::fill(slot, slot + m_channels, CSpan{});
        slot[channel].Add(value);
    }
}

const CTraceSummary::CSpan* CTraceSummary::Bucket(int level, uint64_t index, uint64_t end) const
{
    const uint64_t size = Size(level);
    if (level >= Levels() || index % size != 0 || index + size > end)
        return nullptr;
    const CLevel& at = m_levels[static_cast<size_t>(level)];
    return &at.spans[index / size % at.count * static_cast<uint64_t>(m_channels)];
}
