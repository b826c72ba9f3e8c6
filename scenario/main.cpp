// trelvik-scenario: runs scenario files on the simulator in virtual time and
// checks their expectations, or explores random uses of the panel. --help
// tells the options; exit 0 when every expectation held, 1 when one failed,
// 2 for a usage, input or output error (standard output included).

#include <cstring>
#include <iostream>

#include <unistd.h>

#include "cli/checked_output.h"
#include "cli/cleanup_signals.h"
#include "scenario/command_line.h"
#include "scenario/explore/fresh_mutant.h"
#include "scenario/explore/guided_explorer.h"
#include "scenario/explore/mutant_build.h"
#include "scenario/explore/scenario_explorer.h"
#include "scenario/reports/coverage_merge.h"
#include "scenario/run/baseline_accept.h"
#include "scenario/run/scenario_batch.h"
#include "trelvik_version.h"

namespace {

int run_command(int argc, char** argv)
{
    CCommandLine command;
    if (!command.Parse(argc, argv)) {
        std::cerr << "trelvik-scenario: " << command.Error() << "\n" << CCommandLine::Usage();
        return 2;
    }
    switch (command.action) {
    case CCommandLine::HELP:
        std::cout << CCommandLine::Usage() << "\n" << CCommandLine::Help();
        return 0;
    case CCommandLine::VERSION:
        std::cout << "trelvik-scenario " TRELVIK_VERSION "\n";
        return 0;
    case CCommandLine::ACCEPT_BASELINE:
        return CBaselineAccept(command.acceptBaselineDir, command.files).Run(std::cout, std::cerr);
    case CCommandLine::EXPLORE:
    case CCommandLine::MERGE_COVERAGE:
    case CCommandLine::RUN:
        break;
    }
    install_cleanup_handlers();
    if (command.action == CCommandLine::MERGE_COVERAGE) {
        CCoverageMerge merge(command.files, command.coverageJsonPath, std::cout, std::cerr);
        merge.m_failUnderTransitions = command.failUnderTransitions;
        return merge.Run();
    }
    if (command.action == CCommandLine::EXPLORE) {
        // No Qt object exists before here: the workers are forked inside.
        int code = 0;
        if (command.guided) {
            CGuidedExplorer explorer(command.exploreRuns, command.seed, command.suiteDir, command.jobs, std::cout,
                                     std::cerr);
            if (command.resume)
                explorer.SetResume();
            if (command.mutants)
                explorer.SetMutants(command.mutantsOf, command.equivalentsPath);
            code = explorer.Run();
        } else {
            code =
                CScenarioExplorer(command.exploreRuns, command.seed, command.outDir, std::cout, std::cerr, command.jobs)
                    .Run();
        }
        if (const int sig = noted_fatal_signal()) {
            std::cout.flush();
            end_by_signal(sig);
        }
        return code;
    }
    CScenarioBatch batch(command, std::cout, std::cerr);
    batch.m_showProgress = isatty(STDERR_FILENO) == 1;
    const int code = batch.Run();
    if (const int sig = noted_fatal_signal()) {
        std::cout.flush();
        end_by_signal(sig);  // the verdicts so far and the report are written
    }
    return code;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && std::strcmp(argv[1], CFreshMutant::SERVE_OPTION) == 0 && CMutantBuild::Switch())
        return CFreshMutant::Serve();  // a worker's process for one mutant, not a command
    CCheckedOutput out(STDOUT_FILENO);
    std::streambuf* const standard = std::cout.rdbuf(&out);
    int code = run_command(argc, argv);
    std::cout.flush();
    std::cout.rdbuf(standard);
    if (out.Failure()) {
        std::cerr << "trelvik-scenario: cannot write the output: " << std::strerror(out.Failure()) << "\n";
        code = 2;
    }
    return code;
}
