#pragma once
// The tests' record of a run: the one trace recorder hooked to a harness's
// sample points, with every change kept in memory by name, and questions
// about them. It traces the 27 wired signals, state_number, run_sec and
// buzzer_request, each change with the virtual ms it was seen at.

#include <cstdint>
#include <string>
#include <vector>

#include "board/port_bytes.h"
#include "sim/trace_recorder.h"

class CVirtualTime;

class CTraceLog : public CTraceSink {
public:
    struct CTraceEntry {
        uint64_t timeMs;
        std::string name;
        int32_t value;
    };

    explicit CTraceLog(CVirtualTime& harness);  // the present values are the starting point
    ~CTraceLog() override;

    const std::vector<CTraceEntry>& Trace() const { return m_trace; }
    // Forgets the trace and takes the present values as the starting point.
    void ClearTrace();

    // By name: a signal's ("RED_LED"), "state_number", "buzzer_request" or "run_sec".
    std::vector<CTraceEntry> Changes(const std::string& name, uint64_t fromMs = 0, uint64_t toMs = UINT64_MAX) const;
    // Times at which the value became `value` (a rise to 1 by default).
    std::vector<uint64_t> TimesOf(const std::string& name, int32_t value = 1, uint64_t fromMs = 0,
                                  uint64_t toMs = UINT64_MAX) const;
    // The first such time at or after fromMs; UINT64_MAX when none.
    uint64_t FirstTime(const std::string& name, int32_t value = 1, uint64_t fromMs = 0) const;
    // The value the trace shows at that virtual time.
    int32_t ValueAt(const std::string& name, uint64_t timeMs) const;
    // How many times the value became non-zero in the interval.
    size_t CountNonZero(const std::string& name, uint64_t fromMs = 0, uint64_t toMs = UINT64_MAX) const;

    // The trace name of a signal.
    static std::string NameOf(port_signal signal);

    void Join(const CTraceChannel& channel, int64_t value, uint64_t timeMs) override;
    void Change(int channel, uint64_t timeMs, int64_t value) override;

private:
    CVirtualTime& m_harness;
    CTraceRecorder m_recorder;
    std::vector<std::string> m_names;  // per channel
    std::vector<int32_t> m_current;    // per channel
    std::vector<int32_t> m_base;       // per channel, at the start of the trace
    std::vector<CTraceEntry> m_trace;
};
