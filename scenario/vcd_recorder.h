#pragma once
// Records a run of the simulator as a value-change dump: the 27 wired port
// signals by name (1-bit wires), state_number and run_sec (and any watched
// firmware variable asked for by name), the three motors' positions and the
// number of buzzer sounds (whole numbers, written as real
// variables so that logic-analyser viewers without multi-bit vectors still
// read the signals). Sampled once per virtual ms and written only on change;
// each value carries the virtual ms in which it came about.

#include <cstdint>
#include <string>
#include <vector>

#include "scenario/scenario_signals.h"
#include "scenario/vcd_writer.h"
#include "sim/signal_sampler.h"

class CVirtualSimulator;
struct fw_variable;

class CVcdRecorder {
public:
    explicit CVcdRecorder(CVirtualSimulator& sim);  // takes the present values as those at time 0

    // Adds a watched firmware variable by its name (scope "firmware"), before
    // Open; false with the valid names when there is none of that name. A
    // variable the trace holds already is not added twice.
    bool Watch(const std::string& name, std::string& error);
    // "unknown firmware variable 'X' (valid: ...)", or empty when X is watched.
    static std::string CheckVariable(const std::string& name);

    bool Open(const std::string& path, std::string& error);
    void SetByteLimit(uint64_t bytes) { m_writer.SetByteLimit(bytes); }
    // What changed since the last sample, stamped `timeMs`. Allocates nothing.
    void Sample(uint64_t timeMs);
    // Samples once more at the present time and renames the file into place.
    bool Finish(std::string& error);

    std::string TempPath() const { return m_writer.TempPath(); }

private:
    uint64_t MotorPosition(int motor) const;

    CVirtualSimulator& m_sim;
    CVcdWriter m_writer;
    int m_signalVar[WIRED_SIGNAL_COUNT] = {};
    int m_stateVar = 0;
    int m_runSecVar = 0;
    int m_motorVar[3] = {};
    int m_beepsVar = 0;
    struct CWatched {
        const fw_variable* variable;
        int var;
    };
    std::vector<CWatched> m_watched;  // the variables added by name
    CSignalSampler m_signals;
};
