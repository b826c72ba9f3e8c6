#include "scenario/command_line.h"

#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "cli/option_reader.h"

namespace {

bool to_number(const std::string& text, uint64_t& value) { return COptionReader::ToNumber(text, value); }

// Seconds, whole or with a fraction: "30", "0.5".
bool to_seconds(const std::string& text, double& value)
{
    if (text.empty() || !std::isdigit(static_cast<unsigned char>(text[0])))
        return false;
    char* end = nullptr;
    value = std::strtod(text.c_str(), &end);
    return *end == '\0' && std::isfinite(value) && value > 0 && value <= 1e7;
}

// Every option once, but --vcd-var.
const std::vector<COptionSpec> OPTIONS = {
    {"--help", false, false, "-h"},
    {"--version"},
    {"--quiet", false, false, "-q"},
    {"--coverage"},
    {"--strict"},
    {"--junit", true},
    {"--vcd", true},
    {"--vcd-dir", true},
    {"--vcd-var", true, true},
    {"--vcd-limit", true},
    {"--timeout", true},
    {"--snapshot-dir", true},
    {"--coverage-json", true},
    {"--fail-under-transitions", true},
    {"--explore", true},
    {"--seed", true},
    {"--out", true},
    {"--record-baseline", true},
    {"--force"},
    {"--baseline", true},
    {"--baseline-slack", true, true},
    {"--accept-baseline", true},
    {"--guided"},
    {"--suite", true},
    {"--resume", true},
    {"--mutants"},
    {"--mutants-of", true, true},
    {"--equivalents", true},
    {"--jobs", true, false, "-j"},
    {"--merge-coverage"},
    {"--fail-fast"},
    {"--annotations", true},
};

}  // namespace

const char* CCommandLine::Usage()
{
    return "usage: trelvik-scenario FILE... [--quiet] [--strict] [--junit OUT.xml]\n"
           "         [--timeout S] [--coverage] [--coverage-json OUT.json]\n"
           "         [--fail-under-transitions N] [--vcd OUT.vcd | --vcd-dir DIR]\n"
           "         [--vcd-var NAME]... [--vcd-limit MB] [--snapshot-dir DIR] [--jobs J]\n"
           "         [--fail-fast] [--annotations github]\n"
           "         [--record-baseline DIR [--force] |\n"
           "          --baseline DIR [--baseline-slack [NAME=]MS]...]\n"
           "       trelvik-scenario --explore N [--seed S] [--out DIR] [--jobs J]\n"
           "       trelvik-scenario --explore N --guided --suite DIR [--seed S] [--jobs J]\n"
           "         [--mutants] [--mutants-of FILE[:LINE]]... [--equivalents FILE]\n"
           "       trelvik-scenario --explore N --guided --resume DIR [--jobs J]\n"
           "       trelvik-scenario --merge-coverage A.json B.json... [--coverage-json OUT.json]\n"
           "         [--fail-under-transitions N]\n"
           "       trelvik-scenario --accept-baseline DIR [NAME...]\n";
}

const char* CCommandLine::Help()
{
    return "Runs scenarios on the simulated controller in virtual time, each file from a\n"
           "freshly started controller, and checks their expectations.\n"
           "\n"
           "  --quiet          print only the failed expectations and the closing line\n"
           "  --junit OUT.xml  write a JUnit report (a testcase per expectation, FILE:LINE)\n"
           "  --strict         refuse a file without an expectation (else a warning)\n"
           "  --coverage       print the states, transitions, timers and travel outcomes\n"
           "                   that all files together reached\n"
           "  --coverage-json OUT.json  write that coverage with each item's count\n"
           "  --fail-under-transitions N  exit 1 when fewer than N transitions were taken\n"
           "  --vcd OUT.vcd    write the run's trace (one scenario file only)\n"
           "  --vcd-dir DIR    write each file's trace as DIR/NAME.vcd\n"
           "  --vcd-var NAME   add a firmware variable to the traces (repeatable)\n"
           "  --vcd-limit MB   a trace stops at this size and its file fails (default 1024)\n"
           "  --timeout S      a file that runs S seconds of wall time stops and fails\n"
           "  --snapshot-dir DIR  take relative snapshot names in DIR (made when missing)\n"
           "  --record-baseline DIR  also write each file's trace as its baseline,\n"
           "                   DIR/NAME.vcd\n"
           "  --force          let --record-baseline replace an existing baseline\n"
           "  --baseline DIR   compare each file's trace with DIR/NAME.vcd; the first\n"
           "                   divergence fails, and the run's trace is kept as NAME.new.vcd\n"
           "  --baseline-slack [NAME=]MS  an edge moved by at most MS ms is no divergence\n"
           "  --accept-baseline DIR [NAME...]  move the pending NAME.new.vcd over NAME.vcd\n"
           "  --explore N      play N seeded random uses of the panel with plant faults;\n"
           "                   a run that breaks an invariant is written as a scenario\n"
           "  --seed S         the first seed of the exploration (default 1)\n"
           "  --out DIR        where the exploration writes that scenario (default .)\n"
           "  --guided         explore guided by coverage: keep each use that reaches a\n"
           "                   state, transition, timer or travel outcome not reached\n"
           "                   before, until all are reached or N uses were played\n"
           "  --suite DIR      where --guided writes the kept uses, DIR/cover-NNN.scn\n"
           "  --resume DIR     with --guided: go on from the suite DIR of an interrupted run\n"
           "  --mutants        with --guided, in trelvik-scenario-mutants: then keep uses for\n"
           "                   the firmware's mutants they kill, as DIR/mutant-NNN.scn\n"
           "  --mutants-of FILE[:LINE]  only the mutants there (repeatable)\n"
           "  --equivalents FILE  --mutants, less the known equivalent mutants FILE names\n"
           "                   (FILE:LINE:COLUMN | REPLACEMENT | REASON, as trelvik-mutate)\n"
           "  --jobs J, -j J   run files or uses in J worker processes (default: one per\n"
           "                   core and the CPU quota); the output is the same for every J\n"
           "  --fail-fast      stop at the first failed file: the files under way are\n"
           "                   interrupted, the rest not run\n"
           "  --annotations github  also print each failed verdict on stderr as\n"
           "                   ::error file=F,line=L::message\n"
           "  --merge-coverage  merge coverage reports (--coverage-json of shards) into\n"
           "                   one report; with --coverage-json OUT.json, also as JSON, and\n"
           "                   with --fail-under-transitions N, exit 1 below N\n"
           "  --help, --version\n"
           "\n"
           "Outputs go to a temporary file beside them, renamed at the end; an input, a\n"
           "device, a FIFO, a directory or a symbolic link is never written.\n"
           "Exit: 0 all held; 1 a check failed or an invariant broke; 2 a usage, input or\n"
           "output error, or a worker process died; 128+N ended by signal N.\n";
}

bool CCommandLine::Fail(std::string reason)
{
    m_error = std::move(reason);
    return false;
}

// The option that asked for the mutant hunt, for a refusal to name.
std::string CCommandLine::MutantsOption() const
{
    return !equivalentsPath.empty() ? "--equivalents" : !mutantsOf.empty() ? "--mutants-of" : "--mutants";
}

bool CCommandLine::Parse(int argc, const char* const* argv)
{
    COptionReader reader(OPTIONS);
    if (!reader.Read(argc, argv))
        return Fail(reader.Error());
    files = reader.Operands();
    for (const COptionReader::COption& option : reader.Options())
        if (!Option(option.name, option.value))
            return false;
    return Consistent();
}

bool CCommandLine::Option(const std::string& name, const std::string& value)
{
    if (name == "--help")
        action = HELP;
    else if (name == "--version")
        action = action == HELP ? HELP : VERSION;
    else if (name == "--quiet")
        quiet = true;
    else if (name == "--coverage")
        coverage = true;
    else if (name == "--strict")
        strict = true;
    else if (name == "--coverage-json")
        coverageJsonPath = value;
    else if (name == "--fail-under-transitions") {
        uint64_t n = 0;
        if (!to_number(value, n) || n == 0 || n > 27)
            return Fail("--fail-under-transitions: bad number '" + value + "' (1 to 27)");
        failUnderTransitions = static_cast<int>(n);
    } else if (name == "--junit")
        junitPath = value;
    else if (name == "--vcd")
        vcdPath = value;
    else if (name == "--vcd-dir")
        vcdDir = value;
    else if (name == "--snapshot-dir")
        snapshotDir = value;
    else if (name == "--vcd-var")
        vcdVariables.push_back(value);
    else if (name == "--vcd-limit") {
        if (!to_number(value, vcdLimitMb) || vcdLimitMb == 0 || vcdLimitMb > 1048576)
            return Fail("--vcd-limit: bad size '" + value + "' (1 to 1048576 MB)");
        m_vcdLimitGiven = true;
    } else if (name == "--timeout") {
        if (!to_seconds(value, timeoutSeconds))
            return Fail("--timeout: bad number of seconds '" + value + "' (above 0, such as 30 or 0.5)");
        timeoutText = value;
    } else if (name == "--out") {
        outDir = value;
        m_outGiven = true;
    } else if (name == "--seed") {
        if (!to_number(value, seed))
            return Fail("--seed: bad number '" + value + "'");
        m_seedGiven = true;
    } else if (name == "--guided") {
        guided = true;
    } else if (name == "--suite") {
        suiteDir = value;
        m_suiteGiven = true;
    } else if (name == "--mutants") {
        mutants = true;
    } else if (name == "--mutants-of") {
        mutants = true;
        mutantsOf.push_back(value);
    } else if (name == "--equivalents") {
        mutants = true;
        equivalentsPath = value;
    } else if (name == "--resume") {
        suiteDir = value;
        resume = true;
    } else if (name == "--jobs") {
        uint64_t n = 0;
        if (!to_number(value, n) || n == 0 || n > 256)
            return Fail("--jobs: bad number '" + value + "' (1 to 256)");
        jobs = static_cast<unsigned>(n);
        m_jobsGiven = true;
    } else if (name == "--fail-fast") {
        failFast = true;
    } else if (name == "--annotations") {
        if (value != "github")
            return Fail("--annotations: unknown kind '" + value + "' (valid: github)");
        annotations = value;
    } else if (name == "--merge-coverage") {
        action = action == RUN ? MERGE_COVERAGE : action;
    } else if (name == "--explore") {
        if (!to_number(value, exploreRuns) || exploreRuns == 0 || exploreRuns > 100000000)
            return Fail("--explore: bad number of runs '" + value + "' (1 to 100000000)");
        action = action == RUN ? EXPLORE : action;
    } else if (name == "--record-baseline")
        recordBaselineDir = value;
    else if (name == "--force")
        force = true;
    else if (name == "--baseline")
        baselineDir = value;
    else if (name == "--baseline-slack")
        return BaselineSlack(value);
    else if (name == "--accept-baseline") {
        acceptBaselineDir = value;
        action = action == RUN || action == EXPLORE ? ACCEPT_BASELINE : action;
    } else {
        return Fail("unknown option '" + name + "'");
    }
    return true;
}

// "MS" for every signal, or "NAME=MS" for one.
bool CCommandLine::BaselineSlack(const std::string& value)
{
    const size_t equals = value.find('=');
    const std::string ms = equals == std::string::npos ? value : value.substr(equals + 1);
    uint64_t slack = 0;
    m_baselineSlackGiven = true;
    if (!to_number(ms, slack) || slack > 86400000 || equals == 0)
        return Fail("--baseline-slack: bad slack '" + value + "' (MS or NAME=MS, MS up to 86400000)");
    if (equals == std::string::npos)
        baselineSlackMs = slack;
    else if (!baselineSlackByName.emplace(value.substr(0, equals), slack).second)
        return Fail("--baseline-slack: " + value.substr(0, equals) + " given twice");
    return true;
}

bool CCommandLine::Consistent()
{
    if (action == HELP || action == VERSION)
        return true;
    if (!BaselineConsistent())
        return false;
    if (action == ACCEPT_BASELINE)
        return true;
    const bool runOptions = !junitPath.empty() || !vcdPath.empty() || !vcdDir.empty() || coverage ||
                            !vcdVariables.empty() || m_vcdLimitGiven || timeoutSeconds > 0 || !snapshotDir.empty() ||
                            failUnderTransitions > 0 || strict || !recordBaselineDir.empty() || !baselineDir.empty() ||
                            failFast || !annotations.empty();
    // Of the run's options, a merge of coverage reports takes the gate on transitions.
    const bool onlyGate = failUnderTransitions > 0 && junitPath.empty() && vcdPath.empty() && vcdDir.empty() &&
                          !coverage && vcdVariables.empty() && !m_vcdLimitGiven && timeoutSeconds <= 0 &&
                          snapshotDir.empty() && !strict && recordBaselineDir.empty() && baselineDir.empty() &&
                          !failFast && annotations.empty();
    if (action == MERGE_COVERAGE) {
        if (exploreRuns > 0)
            return Fail("--merge-coverage and --explore exclude each other");
        if (files.empty())
            return Fail("--merge-coverage needs coverage reports (the JSON of --coverage-json)");
        if ((runOptions && !onlyGate) || quiet || m_seedGiven || m_outGiven || guided || !suiteDir.empty() ||
            m_jobsGiven || mutants)
            return Fail("--merge-coverage takes only report files, --coverage-json and --fail-under-transitions");
        return true;
    }
    if (mutants && action != EXPLORE)
        return Fail(MutantsOption() + " belongs to --explore --guided");
    if ((guided || !suiteDir.empty()) && action != EXPLORE)
        return Fail(std::string(guided ? "--guided" : resume ? "--resume" : "--suite") + " belongs to --explore");
    if (action == EXPLORE) {
        if (!files.empty())
            return Fail("--explore takes no scenario files");
        if (runOptions || !coverageJsonPath.empty())
            return Fail("--explore takes only --seed, --out, --guided, --suite, --resume, --mutants and --jobs");
        if (guided && suiteDir.empty())
            return Fail("--guided needs --suite DIR, where it writes the suite");
        if (resume && !guided)
            return Fail("--resume belongs to --guided");
        if (resume && m_seedGiven)
            return Fail("--resume goes on with the seed of the suite it resumes, not --seed");
        if (resume && m_suiteGiven)
            return Fail("--resume DIR and --suite DIR exclude each other");
        if (!suiteDir.empty() && !guided)
            return Fail(std::string(resume ? "--resume" : "--suite") + " belongs to --guided");
        if (guided && m_outGiven)
            return Fail("--guided writes to --suite DIR, not --out");
        if (mutants && !guided)
            return Fail(MutantsOption() + " belongs to --guided");
        if (seed > UINT64_MAX - (exploreRuns - 1))
            return Fail("--seed: " + std::to_string(seed) + " and --explore " + std::to_string(exploreRuns) +
                        " go past the last seed, " + std::to_string(UINT64_MAX));
        return true;
    }
    if (m_seedGiven || m_outGiven)
        return Fail(std::string(m_seedGiven ? "--seed" : "--out") + " belongs to --explore");
    if (files.empty())
        return Fail("no scenario file");
    if (!vcdPath.empty() && !vcdDir.empty())
        return Fail("--vcd and --vcd-dir exclude each other");
    if (!vcdPath.empty() && files.size() > 1)
        return Fail("--vcd takes one scenario file; with several, use --vcd-dir DIR");
    const bool traced = !vcdPath.empty() || !vcdDir.empty() || !recordBaselineDir.empty() || !baselineDir.empty();
    if (!vcdVariables.empty() && !traced)
        return Fail("--vcd-var needs --vcd or --vcd-dir (or a baseline)");
    if (m_vcdLimitGiven && !traced)
        return Fail("--vcd-limit needs --vcd or --vcd-dir (or a baseline)");
    return true;
}

bool CCommandLine::BaselineConsistent()
{
    const bool slack = m_baselineSlackGiven;
    if (action == ACCEPT_BASELINE) {
        if (!recordBaselineDir.empty() || !baselineDir.empty() || slack || force || quiet || coverage || strict ||
            !junitPath.empty() || !vcdPath.empty() || !vcdDir.empty() || !vcdVariables.empty() || m_vcdLimitGiven ||
            timeoutSeconds > 0 || !snapshotDir.empty() || !coverageJsonPath.empty() || failUnderTransitions > 0 ||
            exploreRuns > 0 || m_seedGiven || m_outGiven || guided || !suiteDir.empty() || m_jobsGiven || failFast ||
            !annotations.empty())
            return Fail("--accept-baseline takes only the folder and the names to accept");
        return true;
    }
    if (!recordBaselineDir.empty() && !baselineDir.empty())
        return Fail("--record-baseline and --baseline exclude each other: record, or compare");
    if (force && recordBaselineDir.empty())
        return Fail("--force belongs to --record-baseline");
    if (slack && baselineDir.empty())
        return Fail("--baseline-slack needs --baseline");
    return true;
}
