// The scenario reader under libFuzzer: any bytes go through the input checks
// and the parser, and whatever they accept is described back. A step that is
// described must read again as the same step (once the state's name in
// brackets, which is there for people, is left out), or the runner's messages
// would say something other than what ran.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "cli/input_file.h"
#include "scenario/language/scenario_parser.h"

namespace {

// "expect state 5 (워싱)" as a scenario writes it: "expect state 5".
std::string as_written(const CScenarioStep& step)
{
    std::string line = step.Describe();
    const bool condition = step.kind == CScenarioStep::EXPECT || step.kind == CScenarioStep::EXPECT_FOR ||
                           step.kind == CScenarioStep::RUN_UNTIL;
    const size_t open = line.find(" (");
    if (condition && step.condition.kind == CScenarioCondition::STATE && open != std::string::npos)
        line.erase(open, line.find(')', open) + 1 - open);
    return line;
}

void check_reads_back(const CScenarioStep& step)
{
    const std::string line = as_written(step);
    CScenarioParser again;
    if (!again.Parse(line) || again.Steps().size() != 1 || again.Steps().front().Describe() != step.Describe()) {
        std::fprintf(stderr, "step described as '%s' does not read back as itself: %s\n", line.c_str(),
                     again.ErrorReason().c_str());
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    CInputFile input;
    if (input.Check(text)) {
        CScenarioParser parser;
        if (parser.Parse(input.Text()))
            for (const CScenarioStep& step : parser.Steps())
                check_reads_back(step);
        else
            (void)parser.ErrorMessage("fuzz.scn");
    }
    CScenarioParser raw;  // the parser alone takes what the checks refuse, too
    (void)raw.Parse(text);
    return 0;
}
