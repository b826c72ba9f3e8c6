// The guided exploration: uses made from kept ones, judged in seed order, so
// that one seed writes the same suite byte for byte whatever the number of
// worker processes; the suite replays green with the coverage the
// exploration printed.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <unistd.h>

#include "scenario/command_line.h"
#include "scenario/explore/guided_explorer.h"
#include "scenario/explore/random_use.h"
#include "scenario/explore/use_choice.h"
#include "scenario/explore/use_play.h"
#include "scenario/run/scenario_batch.h"

namespace {

namespace fs = std::filesystem;

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool SANITIZED = true;  // ten times slower: the whole run is left to the plain build
#else
constexpr bool SANITIZED = false;
#endif

// A folder of this test's own, apart from every other test and process.
fs::path scratch(const std::string& name)
{
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const fs::path dir = fs::path(::testing::TempDir()) /
                         ("guided_" + std::string(test->name()) + "_" + std::to_string(::getpid()) + "_" + name);
    fs::remove_all(dir);
    return dir;
}

std::string contents(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The suite's files by name, with their bytes.
std::map<std::string, std::string> suite(const fs::path& dir)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(dir))
        files[entry.path().filename().string()] = contents(entry.path());
    return files;
}

std::string coverage_line(const std::string& output)
{
    const size_t at = output.rfind("coverage: ");
    return at == std::string::npos ? "" : output.substr(at, output.find('\n', at) - at);
}

struct CExplored {
    int code;
    std::string out;
    std::string err;
};

CExplored explore(uint64_t uses, uint64_t seed, const fs::path& dir, unsigned jobs, bool resume = false,
                  CGuidedExplorer::CMaker maker = {})
{
    std::ostringstream out, err;
    CGuidedExplorer explorer(uses, seed, dir.string(), jobs, out, err);
    if (resume)
        explorer.SetResume();
    if (maker)
        explorer.SetMaker(std::move(maker));
    const int code = explorer.Run();
    return {code, out.str(), err.str()};
}

CKeptUse kept(std::vector<std::string> lines)
{
    const CUseOutcome played = CUsePlay::Play(lines);
    EXPECT_FALSE(played.broken) << played.what;
    return {std::move(lines), played};
}

// The first seed from 1 whose use, made from the kept ones, takes the item; 0 for none up to `last`.
uint64_t first_to_reach(int item, const std::vector<CKeptUse>& uses, bool directed, uint64_t last)
{
    bool reached[CScenarioCoverage::ITEM_COUNT] = {};
    for (const CKeptUse& use : uses)
        for (int i = 0; i < CScenarioCoverage::ITEM_COUNT; ++i)
            reached[i] = reached[i] || use.outcome.firstStep[i] != CUseOutcome::NOT_REACHED;
    for (uint64_t seed = 1; seed <= last; ++seed) {
        const std::vector<std::string> use = CUseChoice::Make(seed, uses, reached, directed);
        const bool drawer = std::any_of(use.begin(), use.end(),
                                        [](const std::string& line) { return line.rfind("click drawer", 0) == 0; });
        if (drawer && CUsePlay::Play(use).firstStep[item] != CUseOutcome::NOT_REACHED)
            return seed;  // only the drawer's click opens the drawer: the others are not played
    }
    return 0;
}

// Replays every file of the suite with --coverage; the exit code and stdout.
std::pair<int, std::string> replay(const fs::path& dir)
{
    std::vector<std::string> args = {"trelvik-scenario", "--coverage", "--quiet", "--jobs", "1"};
    for (const auto& [name, bytes] : suite(dir))
        if (fs::path(name).extension() == ".scn")
            args.push_back((dir / name).string());
    std::vector<const char*> argv;
    for (const std::string& arg : args)
        argv.push_back(arg.c_str());
    CCommandLine command;
    EXPECT_TRUE(command.Parse(static_cast<int>(argv.size()), argv.data())) << command.Error();
    std::ostringstream out, err;
    CScenarioBatch batch(command, out, err);
    const int code = batch.Run();
    return {code, out.str()};
}

TEST(GuidedExplorer, UsesAreMadeFromTheKeptOnesTheSameWayForASeed)
{
    const std::vector<CKeptUse> kept = {{{"wait 50", "click power", "wait 2000"}, CUseOutcome()}};
    const bool reached[CScenarioCoverage::ITEM_COUNT] = {};
    for (bool directed : {false, true}) {
        int continued = 0, fresh = 0, longOnes = 0;
        for (uint64_t seed = 1; seed <= 60; ++seed) {
            const std::vector<std::string> use = CUseChoice::Make(seed, kept, reached, directed);
            EXPECT_EQ(use, CUseChoice::Make(seed, kept, reached, directed)) << "seed " << seed;
            EXPECT_LE(CUseChoice::VirtualMs(use), CUseChoice::LONGEST_USE_MS) << "seed " << seed;
            continued += use[0] == "wait 50";
            fresh += use == CRandomUse::Lines(seed);
            longOnes += CUseChoice::VirtualMs(use) > 600000;
        }
        EXPECT_GT(continued, 20);
        EXPECT_GT(fresh, 5);
        EXPECT_GT(longOnes, 2) << "a fault with time for its time-outs";
        EXPECT_EQ(CUseChoice::Make(7, {}, reached, directed), CRandomUse::Lines(7))
            << "nothing kept: every use is fresh";
    }
    EXPECT_EQ(CUseChoice::VirtualMs({"wait 30", "click cover hold 120", "reset-cpu", "fault heater dead"}),
              30u + 120u + 5100u);
}

TEST(GuidedExplorer, APlayedUseTravelsBetweenProcessesAsText)
{
    const CUseOutcome played = CUsePlay::Play({"wait 50", "click power", "wait 2000", "click cover", "wait 500"});
    ASSERT_FALSE(played.broken) << played.what;
    EXPECT_EQ(played.firstStep[ST_STARTUP], 0);
    EXPECT_EQ(played.firstStep[ST_STANDBY], 2) << "the wait after the power key's click, when it is taken";
    EXPECT_EQ(played.firstStep[ST_COVER_OPEN], 3);
    EXPECT_EQ(played.firstStep[ST_WASHING], CUseOutcome::NOT_REACHED);
    EXPECT_NE(played.expectations.find("expect state 커버 열림\n"), std::string::npos) << played.expectations;
    CUseOutcome back;
    ASSERT_TRUE(back.Parse(played.Serialize()));
    EXPECT_EQ(back.Serialize(), played.Serialize());
    EXPECT_EQ(back.digest, CUsePlay::Play({"wait 50", "click power", "wait 2000", "click cover", "wait 500"}).digest);
    EXPECT_NE(back.digest, CUsePlay::Play({"wait 50", "click power", "wait 2600"}).digest);
    EXPECT_FALSE(CUseOutcome().Parse("garbage"));
    const CUseOutcome broken = CUsePlay::Play({"wait 50", "expect state 7"});
    EXPECT_TRUE(broken.broken);
    EXPECT_NE(broken.what.find("expect state 7"), std::string::npos) << broken.what;
}

// Eight kept uses in standby and one, planted, that opened the cover: the
// drawer opened under the open cover is next to that one alone.
TEST(GuidedExplorer, DirectedUsesReachAPlantedRareItemSoonerThanUndirectedOnes)
{
    std::vector<CKeptUse> uses;
    for (int i = 0; i < 8; ++i)
        uses.push_back(kept({"wait 50", "click power hold 100", "wait " + std::to_string(2000 + 500 * i)}));
    uses.insert(uses.begin() + 2, kept({"wait 50", "click power hold 100", "wait 2000", "click cover hold 100",
                                        "wait 1500", "click 5 380 hold 100", "wait 30000"}));
    int item = 0;
    for (int t = 0; t < CScenarioCoverage::TRANSITION_COUNT; ++t)
        if (CScenarioCoverage::TRANSITIONS[t].from == ST_COVER_OPEN &&
            CScenarioCoverage::TRANSITIONS[t].to == ST_DRAWER_OPEN)
            item = STATE_COUNT + t;
    ASSERT_EQ(CUseChoice::Trigger(item - STATE_COUNT), "drawer");
    const uint64_t directed = first_to_reach(item, uses, true, 40);
    const uint64_t undirected = first_to_reach(item, uses, false, 40);
    EXPECT_GT(directed, 0u) << "within 40 seeds";
    EXPECT_TRUE(undirected == 0 || undirected > directed) << directed << " against " << undirected;
    const std::vector<std::pair<int, std::string>> triggers = {{0, ""},     {1, "power"},  {3, "cover"},
                                                               {5, "wash"}, {7, "drawer"}, {8, "drawer"},
                                                               {11, ""},    {13, ""},      {26, "drawer"}};
    for (const auto& [transition, input] : triggers)
        EXPECT_EQ(CUseChoice::Trigger(transition), input) << CScenarioCoverage::ItemText(STATE_COUNT + transition);
}

// A use that breaks an invariant ends the run: shortened, written beside the suite, exit 1.
TEST(GuidedExplorer, ABreakIsWrittenAsExploreWritesItAndEndsTheRunWithOne)
{
    const fs::path dir = scratch("break");
    const auto maker = [](uint64_t seed, const std::vector<CKeptUse>&) {
        if (seed == 5)
            return std::vector<std::string>{"wait 50", "click power hold 100", "wait 1000", "expect state 7", "wait 9"};
        return std::vector<std::string>{"wait 50", "click power hold 100", "wait " + std::to_string(100 * seed)};
    };
    const CExplored run = explore(40, 1, dir, 1, false, maker);
    EXPECT_EQ(run.code, 1) << run.out << run.err;
    EXPECT_NE(run.out.find("explore: seed 5 breaks the machine at "), std::string::npos) << run.out;
    EXPECT_NE(run.out.find(" ms: expect state 7"), std::string::npos) << run.out;
    EXPECT_EQ(run.out.find("coverage:"), std::string::npos) << "no summary after a break: " << run.out;
    const std::string written = contents(dir / "explore-5.scn");
    EXPECT_NE(written.find("click power hold 100\nwait 1000\nexpect state 7\n"), std::string::npos) << written;
    EXPECT_TRUE(fs::exists(dir / "cover-001.scn")) << "what was kept before the break stays";
    fs::remove_all(dir);
}

TEST(GuidedExplorer, AFolderHoldingAnEarlierSuiteIsRefused)
{
    const fs::path dir = scratch("earlier");
    fs::create_directories(dir);
    std::ofstream(dir / "cover-001.scn") << "wait 10\n";
    const CExplored run = explore(4, 1, dir, 1);
    EXPECT_EQ(run.code, 2);
    EXPECT_NE(run.err.find("holds cover-001.scn of an earlier suite"), std::string::npos) << run.err;
    EXPECT_EQ(contents(dir / "cover-001.scn"), "wait 10\n");
    fs::remove_all(dir);
}

// The same seed with one and with two workers: the same lines, the same files.
TEST(GuidedExplorerSlow, OneSeedWritesTheSameSuiteForEveryNumberOfJobsAndItReplaysGreen)
{
    const fs::path one = scratch("one"), two = scratch("two");
    const uint64_t uses = SANITIZED ? 24 : 48;
    const CExplored a = explore(uses, 3, one, 1), b = explore(uses, 3, two, 2);
    EXPECT_EQ(a.code, b.code);
    ASSERT_EQ(a.out.find(one.string()) != std::string::npos, true) << a.out;
    std::string bOut = b.out;
    bOut.replace(bOut.find(two.string()), two.string().size(), one.string());
    EXPECT_EQ(a.out, bOut);
    EXPECT_EQ(suite(one), suite(two));
    EXPECT_GE(suite(one).size(), 4u) << a.out;
    const auto [code, out] = replay(one);
    EXPECT_EQ(code, 0) << out;
    EXPECT_EQ(coverage_line(out), coverage_line(a.out)) << out;
    fs::remove_all(one);
    fs::remove_all(two);
}

// A run stopped after two rounds, then resumed: the suite of the run that went on alone.
TEST(GuidedExplorerSlow, AResumedRunWritesTheSuiteOfTheWholeRun)
{
    if (SANITIZED)
        GTEST_SKIP() << "80 uses: left to the plain build";
    const fs::path cut = scratch("cut"), whole = scratch("whole");
    const uint64_t uses = 2 * CGuidedExplorer::ROUND;
    EXPECT_EQ(explore(uses / 2, 4, cut, 2).code, 1);
    EXPECT_EQ(contents(cut / CGuidedExplorer::PROGRESS),
              "seed 4\nplayed " + std::to_string(uses / 2) + "\nkept " + std::to_string(suite(cut).size() - 1) + "\n");
    char next[32];
    std::snprintf(next, sizeof next, "cover-%03zu.scn", suite(cut).size());
    std::ofstream(cut / next) << "left by a round a signal cut off\n";
    const CExplored resumed = explore(uses, 77, cut, 2, true);
    const CExplored straight = explore(uses, 4, whole, 1);
    EXPECT_EQ(resumed.code, straight.code) << resumed.out << resumed.err;
    EXPECT_NE(resumed.out.find("explore: going on from " + cut.string() + " after " + std::to_string(uses / 2) +
                               " uses from seed 4"),
              std::string::npos)
        << resumed.out;
    EXPECT_EQ(coverage_line(resumed.out), coverage_line(straight.out));
    EXPECT_EQ(suite(cut), suite(whole));
    EXPECT_EQ(explore(uses, 4, scratch("none"), 1, true).code, 2) << "nothing to go on from";
    fs::remove_all(cut);
    fs::remove_all(whole);
}

// Two seeds of the ten bench/measure_guided.sh measures (about 65 uses each).
TEST(GuidedExplorerSlow, TwoSeedsReachEveryItemWithinAThousandUsesAndTheSuiteReplaysWithIt)
{
    if (SANITIZED)
        GTEST_SKIP() << "ten seconds in the plain build; the sanitizers' builds run the short exploration above";
    const std::string all = "coverage: states 10/10, transitions 27/27, timers 11/11, travel outcomes 3/3";
    for (uint64_t seed : {7, 10}) {
        const fs::path dir = scratch("whole" + std::to_string(seed));
        const CExplored run = explore(1000, seed, dir, 2);
        EXPECT_EQ(run.code, 0) << run.out;
        EXPECT_EQ(coverage_line(run.out), all) << run.out;
        EXPECT_EQ(run.out.find("never reached"), std::string::npos) << run.out;
        if (seed == 7) {
            const auto [code, out] = replay(dir);
            EXPECT_EQ(code, 0) << out;
            EXPECT_EQ(coverage_line(out), all) << out;
        }
        fs::remove_all(dir);
    }
}

}  // namespace
