#pragma once
// The one trace recorder: it samples, at the ms they change, the 27 wired
// signals, state_number and run_sec, the three motors' positions and the
// buzzer's sounds (on an assembled panel), and any watched firmware variable
// chosen by name, and hands the changes to its sinks. Cheap when nothing
// changed: six port bytes and a few numbers compared. Allocates nothing
// while it samples.

#include <cstdint>
#include <string>
#include <vector>

#include "sim/signal_sampler.h"
#include "trace/trace_sink.h"

class CSimulatorView;
struct fw_variable;

class CTraceRecorder {
public:
    // The panel's channels are recorded only with a view.
    explicit CTraceRecorder(CSimulatorView* view = nullptr);

    // Told of every channel so far, with its value now, then of every change.
    void AddSink(CTraceSink& sink, uint64_t timeMs = 0);
    // Traces a watched firmware variable from timeMs on; false when it is
    // unknown or traced already.
    bool AddVariable(const std::string& name, uint64_t timeMs = 0);
    bool Traces(const std::string& name) const;
    // "unknown firmware variable 'X' (valid: ...)", or empty for a watched variable.
    static std::string CheckVariable(const std::string& name);

    // What changed since the last sample, stamped timeMs.
    void Sample(uint64_t timeMs);

    const std::vector<CTraceChannel>& Channels() const { return m_channels; }

    CTraceRecorder(const CTraceRecorder&) = delete;
    CTraceRecorder& operator=(const CTraceRecorder&) = delete;

private:
    // A number the recorder reads itself, after the wired signals.
    struct CNumber {
        int channel;
        int64_t last;
        const fw_variable* variable;  // null for the panel's
        int part;                     // the panel's: a motor (0..2), or 3 for the beeps
    };

    int Add(const CTraceChannel& channel, int64_t value, uint64_t timeMs);
    void AddNumber(const CTraceChannel& channel, const fw_variable* variable, int part, uint64_t timeMs);
    int64_t Read(const CNumber& number) const;
    void Hand(int channel, uint64_t timeMs, int64_t value);

    CSimulatorView* m_view;
    std::vector<CTraceChannel> m_channels;
    std::vector<int64_t> m_values;  // per channel, as last handed on
    std::vector<CNumber> m_numbers;
    std::vector<CTraceSink*> m_sinks;
    CSignalSampler m_signals;
};
