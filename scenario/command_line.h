#pragma once
// The runner's command line: scenario files and options, read and checked
// against one another before anything runs.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

class CCommandLine {
public:
    enum Action { RUN, EXPLORE, MERGE_COVERAGE, ACCEPT_BASELINE, HELP, VERSION };

    // False with the reason when the words make no valid call.
    bool Parse(int argc, const char* const* argv);
    const std::string& Error() const { return m_error; }

    static const char* Usage();  // one line
    static const char* Help();   // the whole --help text

    Action action = RUN;
    std::vector<std::string> files;
    bool quiet = false;
    bool coverage = false;
    std::string coverageJsonPath;
    int failUnderTransitions = 0;  // exit 1 below this many transitions taken; 0: no check
    bool strict = false;           // a file without an expectation is refused
    std::string junitPath;
    std::string vcdPath;
    std::string vcdDir;
    std::string snapshotDir;  // where relative snapshot names are taken
    std::vector<std::string> vcdVariables;
    uint64_t vcdLimitMb = 1024;  // a trace stops growing here
    double timeoutSeconds = 0;   // of wall time per file; 0: none
    std::string timeoutText;     // as given, for the verdict
    uint64_t exploreRuns = 0;
    uint64_t seed = 1;
    std::string outDir = ".";
    // Baselines: each file's trace recorded as DIR/NAME.vcd, or compared with it.
    std::string recordBaselineDir;
    bool force = false;  // recording replaces an existing baseline
    std::string baselineDir;
    uint64_t baselineSlackMs = 0;
    std::map<std::string, uint64_t> baselineSlackByName;
    std::string acceptBaselineDir;       // the names to accept are `files`; all pending when none
    bool guided = false;                 // --explore guided by coverage, writing a suite
    std::string suiteDir;                // where the guided exploration writes it
    bool resume = false;                 // the guided exploration goes on from the suite in suiteDir
    bool mutants = false;                // the guided exploration also hunts the firmware's mutants
    std::vector<std::string> mutantsOf;  // only those on these lines or in these files
    std::string equivalentsPath;         // the known equivalent mutants, left out of the hunt
    unsigned jobs = 0;                   // worker processes; 0: one per core
    bool failFast = false;               // stop at the first failed file
    std::string annotations;             // "github": failed verdicts also as workflow commands on stderr

private:
    bool Fail(std::string reason);
    std::string MutantsOption() const;
    bool Option(const std::string& name, const std::string& value);
    bool Consistent();
    bool BaselineSlack(const std::string& value);
    bool BaselineConsistent();

    std::string m_error;
    bool m_seedGiven = false;
    bool m_outGiven = false;
    bool m_vcdLimitGiven = false;
    bool m_baselineSlackGiven = false;
    bool m_jobsGiven = false;
    bool m_suiteGiven = false;
};
