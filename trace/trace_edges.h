#pragma once
// Edges of one channel of the trace: the changes around a moment, for the
// cursor's jumps from edge to edge and for a pulse's width and period.

#include <cstdint>
#include <optional>

class CTraceBuffer;

class CTraceEdges {
public:
    CTraceEdges(const CTraceBuffer& buffer, int channel) : m_buffer(buffer), m_channel(channel) {}

    // The first change after timeMs; none before the trace's end.
    std::optional<uint64_t> Next(uint64_t timeMs) const;
    // The last change before timeMs; none back to the oldest change held.
    std::optional<uint64_t> Previous(uint64_t timeMs) const;

    // At a moment: how long the value held there lasted (from the change
    // that set it to the next one) and the period (from the change before
    // that one to the next): a pulse's width and period.
    struct CPulse {
        std::optional<uint64_t> widthMs;
        std::optional<uint64_t> periodMs;
    };
    CPulse PulseAt(uint64_t timeMs) const;

private:
    const CTraceBuffer& m_buffer;
    int m_channel;
};
