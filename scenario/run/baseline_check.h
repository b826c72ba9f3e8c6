#pragma once
// A scenario file's baseline: the trace an earlier run of it recorded
// (DIR/NAME.vcd), read before anything runs, and compared afterwards with
// the trace of this run, change by change. The first divergence is a failed
// verdict of the file at the step then under way; the first divergence of
// each other signal follows it, at most ten of them. An edge that moved by
// no more than its slack is no divergence, only counted.
//
// A baseline compares only the signals it holds: a firmware variable it
// holds is traced in this run too, and one asked for that it lacks is a
// usage error.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "scenario/run/scenario_executor.h"
#include "trace/trace_compare.h"
#include "trace/vcd_reader.h"

class CBaselineCheck {
public:
    // Divergences that follow the first, one per signal.
    static constexpr size_t MORE = 10;

    // Reads a baseline; false with "FILE: reason" when it is missing,
    // unreadable, or no trace this runner wrote.
    bool Load(const std::string& path, std::string& error);

    // What a baseline records of its scenario, in a $comment of its header:
    // the file's name and a hash of its text (FNV-1a, 64 bits).
    static std::string Record(const std::string& scenarioPath, const std::string& text);
    // The scenario named by the record; empty for a baseline recorded before records.
    const std::string& RecordedName() const { return m_recordedName; }
    // Empty when the baseline's record is this scenario's own (`record` as
    // Record makes it); else a note for the run: an edited scenario, another
    // scenario, or a baseline recorded before records.
    std::string RecordNote(const std::string& record) const;

    // The watched firmware variables the baseline holds, beyond those every trace has.
    std::vector<std::string> Variables() const;
    // Empty, or why variables asked for cannot be compared with this baseline.
    std::string CheckVariables(const std::vector<std::string>& asked) const;

    struct COutcome {
        CScenarioResult verdict;        // failed at the first divergence, or held
        std::vector<std::string> more;  // the next divergences, one per signal, as printed
        std::string moved;              // "12 edges moved by at most 3 ms", or empty
    };
    // The run's trace against the baseline; `lineAt` tells the step under way at a ms.
    COutcome Compare(const CVcdReader& run, const std::function<int(uint64_t)>& lineAt,
                     const CTraceCompare::COptions& options) const;

    const CVcdReader& Trace() const { return m_trace; }

private:
    std::string m_path;
    CVcdReader m_trace;
    std::string m_recordedName, m_recordedHash;
};
