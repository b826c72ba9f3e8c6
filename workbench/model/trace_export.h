#pragma once
// The trace so far as a value-change dump in the runner's format: the
// signals as 1-bit wires under "ports", the numbers as real variables under
// "firmware", in virtual ms.

#include <string>

class CTraceBuffer;

class CTraceExport {
public:
    // Writes the changes held up to endMs; false with `error`.
    static bool WriteVcd(const CTraceBuffer& buffer, uint64_t endMs, const std::string& path, std::string& error);
};
