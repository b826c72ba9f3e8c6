#pragma once
// Feeds the trace once per virtual ms: the 27 wired signals, state_number,
// run_sec and the firmware variables chosen for it. Cheap when nothing
// changed: six port bytes and a few words compared.

#include <cstdint>
#include <string>
#include <vector>

#include "board/wired_signals.h"
#include "sim/signal_sampler.h"
#include "workbench/model/trace_buffer.h"

struct fw_variable;

class CTraceRecorder {
public:
    CTraceRecorder();  // the signals, state_number and run_sec, at their present values

    CTraceBuffer& Buffer() { return m_buffer; }
    const CTraceBuffer& Buffer() const { return m_buffer; }

    // Adds a watched firmware variable from now on; false when it is traced
    // already, unknown, or no channel is left.
    bool AddVariable(const std::string& name);
    bool Traces(const std::string& name) const;

    // What the firmware left in the ms that ends at nowMs.
    void Sample(uint64_t nowMs);

private:
    struct CWatched {
        const fw_variable* variable;
        int channel;
    };

    CTraceBuffer m_buffer;
    int m_signalChannel[WIRED_SIGNAL_COUNT] = {};
    std::vector<CWatched> m_watched;
    CSignalSampler m_signals;
};
