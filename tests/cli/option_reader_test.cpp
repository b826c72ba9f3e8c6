// The command line as every program of ours reads it: joined and separate
// values, aliases, "--" and the refusals, each with its one line of reason.

#include <gtest/gtest.h>

#include <vector>

#include "cli/option_reader.h"

namespace {

TEST(OptionReader, SplitsOptionsAndOperandsOrRefusesWithItsReason)
{
    const std::vector<COptionSpec> specs = {
        {"--out", true, false, "-o"}, {"--var", true, true}, {"--quiet", false, false, "-q"}};
    const struct {
        std::vector<const char*> words;
        const char* error;  // empty: understood
        size_t options, operands;
    } cases[] = {
        {{"a.scn", "--out", "x", "b.scn"}, "", 1, 2},
        {{"--out=x", "-q", "--var", "v", "--var=w"}, "", 4, 0},
        {{"--", "--quiet", "-"}, "", 0, 2},
        {{"--bogus"}, "unknown option '--bogus' (valid: --out, --var, --quiet)", 0, 0},
        {{"--quiet=1"}, "option --quiet takes no value", 0, 0},
        {{"--out"}, "option --out needs a value", 0, 0},
        {{"--out", "--quiet"}, "option --out needs a value", 0, 0},
        {{"--out="}, "option --out needs a value", 0, 0},
        {{"-q", "--quiet"}, "option --quiet given twice (only --var may be repeated)", 0, 0},
        {{"-ox", "a.scn"}, "", 1, 1},
        {{"-o2", "--out=3"}, "option --out given twice (only --var may be repeated)", 0, 0},
        {{"-qx"}, "unknown option '-qx' (valid: --out, --var, --quiet)", 0, 0},
    };
    for (const auto& c : cases) {
        std::vector<const char*> argv = {"prog"};
        argv.insert(argv.end(), c.words.begin(), c.words.end());
        COptionReader reader(specs);
        const bool read = reader.Read(static_cast<int>(argv.size()), argv.data());
        const std::string what = std::string(c.words.front()) + " ...";
        EXPECT_EQ(reader.Error(), c.error) << what;
        EXPECT_EQ(read, std::string(c.error).empty()) << what;
        if (read) {
            EXPECT_EQ(reader.Options().size(), c.options) << what;
            EXPECT_EQ(reader.Operands().size(), c.operands) << what;
        }
    }
}

}  // namespace
