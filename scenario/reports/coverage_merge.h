#pragma once
// trelvik-scenario --merge-coverage A.json B.json...: the coverage reports of
// shards (runs split by files or by --seed ranges, on CI's matrix or a batch
// scheduler) added up item by item into one report, printed as --coverage
// prints it and, with --coverage-json, written as one more report. A file
// that is no coverage report of ours, or one of another program version's
// items, is refused with its reason.

#include <ostream>
#include <string>
#include <vector>

class CScenarioCoverage;

class CCoverageMerge {
public:
    CCoverageMerge(std::vector<std::string> reports, std::string jsonOut, std::ostream& out, std::ostream& err);

    // 0; 1 when the reports together took fewer transitions than
    // m_failUnderTransitions; 2 for a report that could not be read or an
    // output not written.
    int Run();

    int m_failUnderTransitions = 0;  // 0: no check

    // Adds one report's counts; false with the reason.
    static bool Add(const std::string& json, CScenarioCoverage& coverage, std::string& error);

private:
    std::vector<std::string> m_reports;
    std::string m_jsonOut;
    std::ostream& m_out;
    std::ostream& m_err;
};
