// The guided exploration: uses made from kept ones, judged in seed order, so
// that one seed writes the same suite byte for byte whatever the number of
// worker processes; the suite replays green with the coverage the
// exploration printed.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "scenario/command_line.h"
#include "scenario/explore/guided_explorer.h"
#include "scenario/explore/random_use.h"
#include "scenario/explore/use_play.h"
#include "scenario/run/scenario_batch.h"

namespace {

namespace fs = std::filesystem;

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool SANITIZED = true;  // ten times slower: the whole run is left to the plain build
#else
constexpr bool SANITIZED = false;
#endif

fs::path scratch(const std::string& name)
{
    const fs::path dir = fs::path(::testing::TempDir()) / ("guided_" + name);
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

CExplored explore(uint64_t uses, uint64_t seed, const fs::path& dir, unsigned jobs)
{
    std::ostringstream out, err;
    const int code = CGuidedExplorer(uses, seed, dir.string(), jobs, out, err).Run();
    return {code, out.str(), err.str()};
}

// Replays every file of the suite with --coverage; the exit code and stdout.
std::pair<int, std::string> replay(const fs::path& dir)
{
    std::vector<std::string> args = {"trelvik-scenario", "--coverage", "--quiet", "--jobs", "1"};
    for (const auto& [name, bytes] : suite(dir))
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
    const std::vector<std::vector<std::string>> kept = {{"wait 50", "click power", "wait 2000"}};
    int continued = 0, fresh = 0, longOnes = 0;
    for (uint64_t seed = 1; seed <= 60; ++seed) {
        const std::vector<std::string> use = CGuidedExplorer::MakeUse(seed, kept);
        EXPECT_EQ(use, CGuidedExplorer::MakeUse(seed, kept)) << "seed " << seed;
        EXPECT_LE(CGuidedExplorer::VirtualMs(use), CGuidedExplorer::LONGEST_USE_MS) << "seed " << seed;
        continued += use[0] == "wait 50";
        fresh += use == CRandomUse::Lines(seed);
        longOnes += CGuidedExplorer::VirtualMs(use) > 600000;
    }
    EXPECT_GT(continued, 20);
    EXPECT_GT(fresh, 5);
    EXPECT_GT(longOnes, 2) << "a fault with time for its time-outs";
    EXPECT_EQ(CGuidedExplorer::MakeUse(7, {}), CRandomUse::Lines(7)) << "nothing kept: every use is fresh";
    EXPECT_EQ(CGuidedExplorer::VirtualMs({"wait 30", "click cover hold 120", "reset-cpu", "fault heater dead"}),
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

TEST(GuidedExplorerSlow, ReachesEveryItemWithinThreeThousandUsesAndTheSuiteReplaysWithIt)
{
    if (SANITIZED)
        GTEST_SKIP() << "half a minute in the plain build; the sanitizers' builds run the short exploration above";
    const fs::path dir = scratch("whole");
    const CExplored run = explore(3000, 1, dir, 2);
    EXPECT_EQ(run.code, 0) << run.out;
    const std::string all = "coverage: states 10/10, transitions 27/27, timers 11/11, travel outcomes 3/3";
    EXPECT_EQ(coverage_line(run.out), all) << run.out;
    EXPECT_EQ(run.out.find("never reached"), std::string::npos) << run.out;
    const auto [code, out] = replay(dir);
    EXPECT_EQ(code, 0) << out;
    EXPECT_EQ(coverage_line(out), all) << out;
    fs::remove_all(dir);
}

}  // namespace
