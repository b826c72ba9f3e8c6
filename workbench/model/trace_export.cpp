#include "workbench/model/trace_export.h"

#include <vector>

#include "sim/vcd_writer.h"
#include "workbench/model/trace_buffer.h"

bool CTraceExport::WriteVcd(const CTraceBuffer& buffer, uint64_t endMs, const std::string& path, std::string& error)
{
    CVcdWriter writer;
    std::vector<int> var(buffer.ChannelCount());
    // Signals first, then the numbers: one scope each.
    for (int pass = 0; pass < 2; ++pass)
        for (int channel = 0; channel < buffer.ChannelCount(); ++channel) {
            if (buffer.IsBit(channel) != (pass == 0))
                continue;
            const uint64_t initial = static_cast<uint64_t>(static_cast<int64_t>(buffer.Base(channel)));
            var[channel] = pass == 0 ? writer.AddVariable("ports", buffer.Name(channel), 1, initial)
                                     : writer.AddNumber("firmware", buffer.Name(channel), initial,
                                                        buffer.IsSigned(channel));
        }
    if (!writer.Open(path, error))
        return false;
    for (uint64_t i = buffer.First(); i < buffer.End(); ++i) {
        const CTraceBuffer::CChange& change = buffer.At(i);
        writer.Change(var[change.channel], change.timeMs, static_cast<uint64_t>(static_cast<int64_t>(change.value)));
    }
    return writer.Finish(endMs, error);
}
