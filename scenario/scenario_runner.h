#pragma once
// Runs a parsed scenario on a fresh assembled simulator in virtual time:
// one line per expectation (where, when, what was expected, what was seen)
// and a closing "N passed, M failed". A run-until whose limit passes is a
// failed expectation too; a failure does not stop the run.

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "scenario/scenario_step.h"

struct CScenarioOptions {
    std::string fileName = "scenario";  // for the lines printed
    std::string vcdPath;                // empty: no trace
    bool quiet = false;                 // print only the failed expectations and the summary
};

class CScenarioRunner {
public:
    // Exit codes.
    static constexpr int ALL_HELD = 0;
    static constexpr int SOME_FAILED = 1;
    static constexpr int NOT_RUN = 2;  // the trace cannot be written

    CScenarioRunner(std::ostream& out, std::ostream& err, CScenarioOptions options);
    ~CScenarioRunner();

    // Runs the steps once; returns one of the exit codes.
    int Run(const std::vector<CScenarioStep>& steps);

    int Passed() const { return m_passed; }
    int Failed() const { return m_failed; }
    // The trace's temporary name while a run writes it; empty otherwise.
    std::string TraceTempPath() const;

    CScenarioRunner(const CScenarioRunner&) = delete;
    CScenarioRunner& operator=(const CScenarioRunner&) = delete;

private:
    struct CMachine;  // the simulator, its beep counter, probe and trace

    void Execute(const CScenarioStep& step);
    void RunUntil(const CScenarioStep& step);
    void ResetCpu(const CScenarioStep& step);
    void Report(const CScenarioStep& step, bool held, const std::string& what, const std::string& seen);

    std::ostream& m_out;
    std::ostream& m_err;
    CScenarioOptions m_options;
    std::unique_ptr<CMachine> m_machine;
    int m_passed = 0;
    int m_failed = 0;
};
