#pragma once
// What the trace's ring holds, summed up for drawing at any zoom: the
// changes in buckets of BUCKET changes, then of four times as many at each
// level above, and per bucket and channel the lowest and highest value set
// in it and the last. A pixel column over thousands of changes is read from
// a few buckets and two short runs of changes at its ends. The slots are a
// ring of their own at each level: a bucket is written over only after the
// ring has dropped its oldest change, so a bucket that lies wholly among
// the changes held is always still there.

#include <cstdint>
#include <vector>

class CTraceSummary {
public:
    static constexpr uint64_t BUCKET = 256;
    static constexpr int FAN_BITS = 2;  // each level's buckets hold four of the level below

    // What a channel did over a stretch of changes; low > high: nothing.
    struct CSpan {
        int32_t low = INT32_MAX;
        int32_t high = INT32_MIN;
        int32_t last = 0;
        bool Changed() const { return low <= high; }
        void Add(int32_t value)
        {
            low = value < low ? value : low;
            high = value > high ? value : high;
            last = value;
        }
        void Add(const CSpan& later);
    };

    CTraceSummary(uint64_t capacity, int channels);

    // Change number `index` (every index once, in order) set `channel` to `value`.
    void Add(uint64_t index, int channel, int32_t value);
    // The bucket of `level` that starts at `index`, when one of that level
    // does and ends by `end`; null otherwise.
    const CSpan* Bucket(int level, uint64_t index, uint64_t end) const;
    int Levels() const { return static_cast<int>(m_levels.size()); }
    static uint64_t Size(int level) { return BUCKET << (FAN_BITS * level); }

private:
    struct CLevel {
        uint64_t count;
        std::vector<CSpan> spans;  // slots × channels
    };
    int m_channels;
    std::vector<CLevel> m_levels;
};
