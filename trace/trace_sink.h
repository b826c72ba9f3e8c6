#pragma once
// Where the trace recorder hands what it sees: each channel once, when it
// joins the trace, and then every change of its value with the virtual ms it
// came about in. The VCD writer, the workbench's ring and the tests' record
// are sinks.

#include <cstdint>
#include <string>

struct CTraceChannel {
    std::string scope;  // "ports", "firmware" or "panel"
    std::string name;   // a wired signal's or a firmware variable's name, "disk_position", "beeps"
    bool isBit = false;
    bool isSigned = false;
};

class CTraceSink {
public:
    virtual ~CTraceSink() = default;
    // Channels are numbered from 0 in the order they join.
    virtual void Join(const CTraceChannel& channel, int64_t value, uint64_t timeMs) = 0;
    // Called only when the value differs from the last one handed on.
    virtual void Change(int channel, uint64_t timeMs, int64_t value) = 0;
};
