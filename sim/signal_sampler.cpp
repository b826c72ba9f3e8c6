#include "sim/signal_sampler.h"

CSignalSampler::CSignalSampler() { TakePorts(); }

bool CSignalSampler::TakePorts()
{
    const uint64_t ports = port_bytes_snapshot();
    const bool changed = ports != m_ports;
    m_ports = ports;
    return changed;
}
