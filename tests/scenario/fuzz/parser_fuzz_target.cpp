// The scenario reader as a fuzz target: any bytes go through the input
// checks and the parser, and whatever they accept is described back. Built
// with clang's libFuzzer (-fsanitize=fuzzer) this is the whole target; with
// g++ parser_fuzz_main.cpp drives it with seeded mutations.

#include <cstddef>
#include <cstdint>
#include <string>

#include "cli/input_file.h"
#include "scenario/language/scenario_parser.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    CInputFile input;
    if (input.Check(text)) {
        CScenarioParser parser;
        if (parser.Parse(input.Text()))
            for (const CScenarioStep& step : parser.Steps())
                (void)step.Describe();
        else
            (void)parser.ErrorMessage("fuzz.scn");
    }
    CScenarioParser raw;  // the parser alone takes what the checks refuse, too
    (void)raw.Parse(text);
    return 0;
}
