#pragma once
// A session's trace: the one trace recorder over the session's panel, feeding
// the ring the trace view draws, and exported from that ring as the runner
// writes its traces, so the same run gives the same file.

#include <cstdint>
#include <string>

#include "sim/trace_recorder.h"
#include "trace/trace_buffer.h"

class CSimulatorView;

class CSessionTrace {
public:
    explicit CSessionTrace(CSimulatorView& view);

    CTraceBuffer& Buffer() { return m_buffer; }
    const CTraceBuffer& Buffer() const { return m_buffer; }

    // Traces a watched firmware variable from the ms the trace has reached
    // on; false when it is unknown, traced already, or no channel is left.
    bool AddVariable(const std::string& name);
    bool Traces(const std::string& name) const { return m_recorder.Traces(name); }

    // What the firmware left in the ms that ends at nowMs.
    void Sample(uint64_t nowMs);
    // The trace up to nowMs as a value-change dump; false with the reason.
    bool ExportVcd(const std::string& path, uint64_t nowMs, std::string& error);

private:
    CTraceRecorder m_recorder;
    CTraceBuffer m_buffer;
    uint64_t m_stampMs = 0;  // the ms the last sample was stamped with
};
