#pragma once
// What one scenario file came to: its verdicts one by one, or the reason it
// did not run; what the closing line, the exit code and the JUnit report
// are made from.

#include <string>
#include <vector>

#include "scenario/run/scenario_executor.h"

struct CFileResult {
    // Exit codes: every verdict held; one failed; the file, a step or an output could not be read or written.
    enum : int { ALL_HELD = 0, SOME_FAILED = 1, NOT_RUN = 2 };

    std::string file;
    int code = ALL_HELD;  // the file's exit code
    std::string error;    // why the file did not run, or why one of its outputs failed
    bool ran = false;
    double seconds = 0;
    std::string timestamp;                 // local time the file began, "2026-12-08T11:20:00"
    std::vector<CScenarioResult> results;  // in order; an error result is no verdict
    std::vector<std::string> notes;        // lines printed after the verdicts (a baseline's divergence)

    int Passed() const { return Count(true); }
    int Failed() const { return Count(false); }
    int Errors() const
    {
        int n = 0;
        for (const CScenarioResult& r : results)
            n += r.error;
        return n;
    }
    // The line printed for a result: "FILE:LINE: TIME ms: ok|FAILED: what; seen what",
    // or for an error "FILE:LINE: what: reason"; without "seen" or the reason when there is none.
    std::string Line(const CScenarioResult& r) const
    {
        const std::string where = file + ":" + std::to_string(r.line) + ": ";
        if (r.error)
            return where + r.what + (r.seen.empty() ? "" : ": " + r.seen);
        return where + std::to_string(r.timeMs) + " ms: " + (r.held ? "ok: " : "FAILED: ") + r.what +
               (r.seen.empty() ? "" : "; seen " + r.seen);
    }

private:
    int Count(bool held) const
    {
        int n = 0;
        for (const CScenarioResult& r : results)
            n += !r.error && r.held == held;
        return n;
    }
};
