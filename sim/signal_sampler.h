#pragma once
// The 27 wired signals sampled from the port bytes for a trace: a sample
// compares the six bytes with the last ones and, when any changed, reports
// every signal's level; a trace writer keeps only the changes.

#include <cstdint>

#include "board/wired_signals.h"

class CSignalSampler {
public:
    CSignalSampler();  // the present port bytes are the starting point

    // Calls report(row, level) for every row of WIRED_SIGNALS when a port
    // byte changed since the last sample.
    template <typename Report>
    void Sample(Report&& report)
    {
        if (!TakePorts())
            return;
        for (int row = 0; row < WIRED_SIGNAL_COUNT; ++row) {
            const port_signal s = WIRED_SIGNALS[row].signal;
            report(row, snapshot_bit(m_ports, s));
        }
    }

private:
    // Takes the present bytes; true when one differs from the last.
    bool TakePorts();

    uint64_t m_ports = 0;  // port_bytes_snapshot() at the last sample
};
