// Exploration: a seed always gives the same use of the panel, in the
// scenario language, with faults among the clicks; a break is cut after it
// and shortened to the steps that still bring it about.

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "scenario/explore/random_use.h"
#include "scenario/explore/scenario_explorer.h"
#include "scenario/language/scenario_parser.h"

namespace {

TEST(ScenarioExplorer, RandomUsesAreRepeatableScenariosWithFaults)
{
    int faults = 0, clears = 0, resets = 0;
    for (uint64_t seed = 1; seed <= 20; ++seed) {
        const std::vector<std::string> lines = CRandomUse::Lines(seed);
        EXPECT_EQ(lines, CRandomUse::Lines(seed)) << "seed " << seed;
        std::string text;
        for (const std::string& line : lines) {
            text += line + "\n";
            faults += line.rfind("fault ", 0) == 0;
            clears += line.rfind("clear ", 0) == 0;
            resets += line == "reset-cpu";
        }
        CScenarioParser parser;
        EXPECT_TRUE(parser.Parse(text)) << parser.ErrorMessage("seed " + std::to_string(seed));
    }
    EXPECT_NE(CRandomUse::Lines(1), CRandomUse::Lines(2));
    EXPECT_GT(faults, 10);
    EXPECT_GT(clears, 10);
    EXPECT_GT(resets, 5);
}

TEST(ScenarioExplorer, ABreakIsCutAfterItAndShortenedWhileItStillBreaksTheSameWay)
{
    // Standby, then a wrong expectation: the click and a wait before it are what it needs.
    const std::vector<std::string> lines = {"wait 50", "click power",    "wait 1000",
                                            "wait 20", "expect state 7", "wait 500"};
    CScenarioExplorer::CBreak at = CScenarioExplorer::Play(lines);
    ASSERT_TRUE(at.broken);
    EXPECT_EQ(at.step, 4u);
    EXPECT_EQ(at.what, "expect state 7 (건조); seen 3 (파워 온 대기)");
    int replays = 0;
    const std::vector<std::string> shorter = CScenarioExplorer::Shorten(lines, at, replays);
    EXPECT_EQ(shorter, (std::vector<std::string>{"click power", "wait 20", "expect state 7"}));
    EXPECT_EQ(at.step, 2u);
    EXPECT_EQ(at.timeMs, 121u) << "the break as the shortened steps play it (the click ends at 101 ms)";
    EXPECT_LE(replays, CScenarioExplorer::MAX_REPLAYS);
    EXPECT_FALSE(CScenarioExplorer::Play({"wait 50", "click power", "wait 500"}).broken);
}

TEST(ScenarioExplorer, TheSeedAndTheBreakArePrintedEvenWhenTheFileCannotBeWritten)
{
    const std::filesystem::path dir = std::filesystem::path(::testing::TempDir()) / "explore_symlink";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    std::filesystem::create_symlink("elsewhere.scn", dir / "explore-7.scn");
    std::ostringstream out, err;
    CScenarioExplorer explorer(1, 7, dir.string(), out, err);
    EXPECT_EQ(explorer.Write(7, {"click power", "wait 20", "expect state 7"}, 9), 2);
    EXPECT_EQ(out.str(),
              "explore: seed 7 breaks the machine at 121 ms: expect state 7 (건조); seen 3 (파워 온 대기)\n");
    EXPECT_NE(err.str().find("explore-7.scn: is a symbolic link"), std::string::npos) << err.str();
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "explore-7.scn"));
    std::filesystem::remove_all(dir);
}

}  // namespace
