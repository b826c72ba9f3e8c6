// The workbench's command line, read before any window exists: the exit
// codes of a Unix tool, and the valid names listed for an unknown one.

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "workbench/workbench_command_line.h"

namespace {

int parse(std::vector<std::string> args)
{
    args.insert(args.begin(), "trelvik-workbench");
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    CWorkbenchCommandLine command;
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    const int code = command.Parse(static_cast<int>(argv.size()), argv.data());
    testing::internal::GetCapturedStdout();
    testing::internal::GetCapturedStderr();
    return code;
}

TEST(WorkbenchCommandLine, ExitCodesOfEveryKindOfArgument)
{
    const std::string folder = ::testing::TempDir();
    const std::string scenario = folder + "command_line_test.scn";
    std::ofstream(scenario) << "wait 10\n";
    const std::string baseline = folder + "command_line_test.vcd";
    std::ofstream(baseline) << "$timescale 1ms $end\n$var wire 1 ! A $end\n$enddefinitions $end\n#0\n1!\n";
    const struct {
        std::vector<std::string> args;
        int code;  // -1: the window starts
    } cases[] = {
        {{}, -1},
        {{"--speed", "max", "--paused", scenario}, -1},
        {{"/nonexistent/a.scn"}, 2},
        {{folder}, 2},  // a folder is no scenario, refused before any window
        {{"--speed=0.1", "--trace", "heater_reading", "--trace", "now_ms"}, -1},
        {{"--help"}, 0},
        {{"--version"}, 0},
        {{"--speed", "2"}, 2},
        {{"--speed"}, 2},
        {{"--trace", "heater"}, 2},
        {{"--fast"}, 2},
        {{scenario, scenario}, 2},
        {{"--baseline", baseline, scenario}, -1},
        {{"--baseline", scenario}, 2},  // a scenario is no trace
        {{"--baseline", folder}, 2},
        {{"--baseline"}, 2},
    };
    for (const auto& c : cases) {
        std::string line;
        for (const std::string& arg : c.args)
            line += arg + " ";
        EXPECT_EQ(parse(c.args), c.code) << line;
    }
}

TEST(WorkbenchCommandLine, AnUnknownVariableListsTheWatchedOnes)
{
    std::string arg0 = "trelvik-workbench", arg1 = "--trace", arg2 = "heater";
    char* argv[] = {arg0.data(), arg1.data(), arg2.data()};
    CWorkbenchCommandLine command;
    testing::internal::CaptureStderr();
    EXPECT_EQ(command.Parse(3, argv), 2);
    const std::string error = testing::internal::GetCapturedStderr();
    EXPECT_NE(error.find("unknown variable 'heater' (state_index, state_number"), std::string::npos) << error;
    EXPECT_NE(error.find("heater_reading"), std::string::npos);
}

}  // namespace
