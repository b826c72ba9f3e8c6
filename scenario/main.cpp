// trelvik-scenario FILE [--vcd OUT.vcd] [--quiet]: runs a scenario on the
// simulator in virtual time. Exit 0 when every expectation held, 1 when one
// failed, 2 when the file cannot be read, a step is not understood or the
// trace cannot be written.

#include <csignal>
#include <cstring>
#include <iostream>
#include <string>

#include <unistd.h>

#include "scenario/scenario_parser.h"
#include "scenario/scenario_runner.h"
#include "scenario/vcd_writer.h"

namespace {

constexpr const char* USAGE = "usage: trelvik-scenario FILE [--vcd OUT.vcd] [--quiet]\n";

// The trace's temporary file, removed when the run is interrupted.
char s_tempPath[4096];

void on_interrupt(int sig)
{
    if (s_tempPath[0])
        unlink(s_tempPath);
    std::signal(sig, SIG_DFL);
    std::raise(sig);
}

void remove_trace_on_interrupt(const std::string& vcdPath)
{
    const std::string temp = CVcdWriter::TempPathFor(vcdPath);
    if (temp.size() >= sizeof s_tempPath)
        return;
    std::memcpy(s_tempPath, temp.c_str(), temp.size() + 1);
    for (int sig : {SIGINT, SIGTERM, SIGHUP})
        std::signal(sig, &on_interrupt);
}

bool parse_arguments(int argc, char** argv, std::string& file, CScenarioOptions& options)
{
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--quiet") {
            options.quiet = true;
        } else if (arg == "--vcd" && i + 1 < argc) {
            options.vcdPath = argv[++i];
        } else if (!arg.empty() && arg[0] == '-') {
            std::cerr << "trelvik-scenario: unknown option '" << arg << "'\n";
            return false;
        } else if (file.empty()) {
            file = arg;
        } else {
            std::cerr << "trelvik-scenario: more than one scenario file\n";
            return false;
        }
    }
    return !file.empty();
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::cout << USAGE;
        return 0;
    }
    std::string file;
    CScenarioOptions options;
    if (!parse_arguments(argc, argv, file, options)) {
        std::cerr << USAGE;
        return CScenarioRunner::NOT_RUN;
    }
    options.fileName = file;

    CScenarioParser parser;
    if (!parser.ParseFile(file)) {
        std::cerr << parser.ErrorMessage(file) << "\n";
        return CScenarioRunner::NOT_RUN;
    }
    if (!options.vcdPath.empty())
        remove_trace_on_interrupt(options.vcdPath);
    CScenarioRunner runner(std::cout, std::cerr, options);
    return runner.Run(parser.Steps());
}
