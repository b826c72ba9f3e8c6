#pragma once
// The workbench's trace: every change of the traced values (the 27 signals,
// state_number, run_sec, the motors' positions, the beeps and the variables
// chosen) with the virtual ms it was seen in, in one ring of fixed size; a
// sink of the trace recorder. When the ring is full the oldest
// changes give way; the values they set become the starting values. Every
// BLOCK changes a checkpoint keeps all values, so the value of any channel
// at any moment is found by a binary search and a short scan; a summary
// keeps what each channel did over stretches of changes, for drawing a
// stretch of thousands of changes in one pixel.
//
// Written on the firmware's side of the lockstep, read by the window between
// runs: never both at once.

#include <cstdint>
#include <string>
#include <vector>

#include "trace/trace_sink.h"
#include "trace/trace_summary.h"

class CTraceBuffer : public CTraceSink {
public:
    static constexpr int MAX_CHANNELS = 128;
    static constexpr size_t BLOCK = 1024;

    struct CChange {
        uint64_t timeMs;
        int32_t channel;
        int32_t value;
    };

    // capacity: changes kept, a multiple of BLOCK.
    explicit CTraceBuffer(size_t capacity = 256 * BLOCK);

    // A channel whose value is `initial` from joinMs on (not traced before
    // it); -1 when all are taken.
    int AddChannel(const std::string& name, bool isBit, int32_t initial, bool isSigned = false,
                   const std::string& scope = {}, uint64_t joinMs = 0);
    int ChannelCount() const { return static_cast<int>(m_names.size()); }
    const std::string& Name(int channel) const { return m_names[channel]; }
    bool IsBit(int channel) const { return m_isBit[channel]; }
    bool IsSigned(int channel) const { return m_isSigned[channel]; }
    const std::string& Scope(int channel) const { return m_scopes[channel]; }
    // From when on the channel is traced; its values before are none.
    uint64_t JoinMs(int channel) const { return m_joinMs[channel]; }
    bool Traced(int channel, uint64_t timeMs) const { return timeMs >= m_joinMs[channel]; }

    // As the recorder's sink; a channel past MAX_CHANNELS is not kept.
    void Join(const CTraceChannel& channel, int64_t value, uint64_t timeMs) override;
    void Change(int channel, uint64_t timeMs, int64_t value) override;

    // The channel's value from timeMs on; kept only when it changes. Times never go back.
    void Set(int channel, uint64_t timeMs, int32_t value);
    int32_t Current(int channel) const { return m_current[channel].value; }
    // The lowest and highest values the channel ever took, for a row's scale.
    int32_t Lowest(int channel) const { return m_lowest[channel]; }
    int32_t Highest(int channel) const { return m_highest[channel]; }
    // The value before the oldest change held.
    int32_t Base(int channel) const { return m_base[channel].value; }
    // The value the channel had at timeMs (the oldest value known before the ring's start).
    int32_t ValueAt(int channel, uint64_t timeMs) const { return ValueSince(channel, timeMs).value; }
    // The same with the time it took that value (its join time for a value held from then).
    struct CValue {
        int32_t value;
        uint64_t sinceMs;
    };
    CValue ValueSince(int channel, uint64_t timeMs) const;

    // Changes held, oldest first: index First() .. End() - 1.
    uint64_t First() const { return m_count > m_capacity ? m_count - m_capacity : 0; }
    uint64_t End() const { return m_count; }
    const CChange& At(uint64_t index) const { return m_ring[index % m_capacity]; }
    // The first index whose change came after timeMs.
    uint64_t FirstAfter(uint64_t timeMs) const;
    // What each channel did over the changes from .. to - 1 (those held),
    // added to spans[channel], oldest first.
    void Fold(uint64_t from, uint64_t to, CTraceSummary::CSpan* spans) const;
    // From when on the values are known exactly: 0, or the oldest change held.
    uint64_t KnownFromMs() const { return m_count > m_capacity ? At(First()).timeMs : 0; }

private:
    size_t m_capacity;
    std::vector<CChange> m_ring;
    uint64_t m_count = 0;  // changes ever written
    std::vector<std::string> m_names;
    std::vector<std::string> m_scopes;
    std::vector<bool> m_isBit;
    std::vector<bool> m_isSigned;
    CValue m_current[MAX_CHANNELS] = {};
    CValue m_base[MAX_CHANNELS] = {};  // the values before change First()
    uint64_t m_joinMs[MAX_CHANNELS] = {};
    int32_t m_lowest[MAX_CHANNELS] = {};
    int32_t m_highest[MAX_CHANNELS] = {};
    std::vector<CValue> m_checkpoints;  // per block: the values before its first change
    CTraceSummary m_summary;
};
