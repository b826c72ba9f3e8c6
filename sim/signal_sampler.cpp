#include "sim/signal_sampler.h"

CSignalSampler::CSignalSampler() { TakePorts(); }

bool CSignalSampler::TakePorts()
{
    bool changed = false;
    for (int p = 0; p < 6; ++p) {
        const uint8_t value = port_bytes[p]->load(std::memory_order_relaxed);
        changed |= value != m_ports[p];
        m_ports[p] = value;
    }
    return changed;
}
