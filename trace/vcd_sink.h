#pragma once
// The trace recorder's channels written as a value-change dump: the signals
// as 1-bit wires, the numbers as real variables, each under its scope. The
// channels are declared when the file is opened, so a channel that joins
// after that is left out of it.

#include <cstdint>
#include <string>
#include <vector>

#include "trace/trace_sink.h"
#include "trace/vcd_writer.h"

class CVcdSink : public CTraceSink {
public:
    explicit CVcdSink(std::string program) : m_writer(std::move(program)) {}

    void Join(const CTraceChannel& channel, int64_t value, uint64_t timeMs) override;
    void Change(int channel, uint64_t timeMs, int64_t value) override;

    bool Open(const std::string& path, std::string& error);
    void SetComment(std::string comment) { m_writer.SetComment(std::move(comment)); }
    // The file stops growing at this many bytes, and Finish then fails.
    void SetByteLimit(uint64_t bytes) { m_writer.SetByteLimit(bytes); }
    // Writes the end time, closes and renames the file into place.
    bool Finish(uint64_t endMs, std::string& error) { return m_writer.Finish(endMs, error); }
    std::string TempPath() const { return m_writer.TempPath(); }

private:
    CVcdWriter m_writer;
    std::vector<int> m_vars;  // per channel; -1 for one that joined too late
    bool m_open = false;
};
