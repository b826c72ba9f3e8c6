#pragma once
// Runs a parsed scenario on a fresh assembled simulator in virtual time:
// one line per expectation (where, when, what was expected, what was seen)
// and a closing "N passed, M failed". A run-until whose limit passes is a
// failed expectation too; a failure does not stop the run. The file is run
// by CInstrumentedRun (trace, invariants), as the runner runs it; the tests
// read the verdicts printed.

#include <ostream>
#include <string>
#include <vector>

#include "scenario/language/scenario_step.h"
#include "scenario/run/file_result.h"
#include "scenario/run/scenario_executor.h"

struct CScenarioOptions {
    std::string fileName = "scenario";  // for the lines printed
    std::string vcdPath;                // empty: no trace
    bool quiet = false;                 // print only the failed expectations and the summary
};

class CVerdictPrinter {
public:
    // Exit codes.
    static constexpr int ALL_HELD = CFileResult::ALL_HELD;
    static constexpr int SOME_FAILED = CFileResult::SOME_FAILED;
    static constexpr int NOT_RUN = CFileResult::NOT_RUN;  // the trace or a snapshot cannot be written

    CVerdictPrinter(std::ostream& out, std::ostream& err, CScenarioOptions options);

    // Runs the steps once; returns one of the exit codes.
    int Run(const std::vector<CScenarioStep>& steps);

    int Passed() const { return m_passed; }
    int Failed() const { return m_failed; }
    // Every verdict of the last run, in order.
    const std::vector<CScenarioResult>& Results() const { return m_results; }

    CVerdictPrinter(const CVerdictPrinter&) = delete;
    CVerdictPrinter& operator=(const CVerdictPrinter&) = delete;

private:
    void Print(const CFileResult& file, const CScenarioResult& result);

    std::ostream& m_out;
    std::ostream& m_err;
    CScenarioOptions m_options;
    std::vector<CScenarioResult> m_results;
    int m_passed = 0;
    int m_failed = 0;
};
