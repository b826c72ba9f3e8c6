// Baselines end to end, as main makes the calls: a trace recorded, then
// compared with later runs; a baseline edited at one known edge shows where
// a run diverges, the slack lets a moved edge pass, and accepting moves the
// pending traces over their baselines.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "scenario/command_line.h"
#include "scenario/run/baseline_accept.h"
#include "scenario/run/scenario_batch.h"
#include "trace/vcd_reader.h"

namespace {

namespace fs = std::filesystem;

// The red lamp lights, and the state becomes 3, while line 3 is under way.
const char* const POWER_ON =
    "wait 1200\n"
    "click power\n"
    "run-until state 3 within 1000\n"
    "wait 300\n"
    "expect lamp red on\n";

std::string text_of(const fs::path& path)
{
    std::stringstream text;
    text << std::ifstream(path).rdbuf();
    return text.str();
}

class Baseline : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::path(::testing::TempDir()) /
                ("baseline_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        std::ofstream(m_dir / "on.scn") << POWER_ON;
        ASSERT_EQ(Run({"on.scn", "--record-baseline", "base"}), 0) << m_err.str();
        m_recorded = text_of(m_dir / "base/on.vcd");
    }
    void TearDown() override { fs::remove_all(m_dir); }

    // Runs the call given by `args`, in the scratch folder; its exit code. The output is the call's alone.
    int Run(std::vector<std::string> args)
    {
        m_out.str("");
        m_err.str("");
        const fs::path here = fs::current_path();
        fs::current_path(m_dir);
        std::vector<const char*> argv = {"trelvik-scenario"};
        for (const std::string& arg : args)
            argv.push_back(arg.c_str());
        CCommandLine command;
        EXPECT_TRUE(command.Parse(static_cast<int>(argv.size()), argv.data())) << command.Error();
        int code = 0;
        if (command.action == CCommandLine::ACCEPT_BASELINE)
            code = CBaselineAccept(command.acceptBaselineDir, command.files).Run(m_out, m_err);
        else
            code = CScenarioBatch(command, m_out, m_err).Run();
        fs::current_path(here);
        return code;
    }

    // When the recorded baseline's red lamp first lights.
    uint64_t RedLampLit() const
    {
        CVcdReader trace;
        std::string error;
        return trace.Parse(m_recorded, error) ? trace.Find("RED_LED")->changes.at(1).first : 0;
    }

    // The baseline with everything that changed at `timeMs` moved `by` ms later.
    void MoveBaselineEdges(uint64_t timeMs, uint64_t by)
    {
        std::string text = m_recorded;
        const std::string stamp = "\n#" + std::to_string(timeMs) + "\n";
        ASSERT_NE(text.find(stamp), std::string::npos);
        std::ofstream(m_dir / "base/on.vcd")
            << text.replace(text.find(stamp), stamp.size(), "\n#" + std::to_string(timeMs + by) + "\n");
    }

    fs::path m_dir;
    std::string m_recorded;
    std::ostringstream m_out;
    std::ostringstream m_err;
};

TEST_F(Baseline, AnUnchangedRunComparesEqualAndAMovedEdgeIsTheFirstDivergenceAtItsStep)
{
    EXPECT_EQ(m_recorded.rfind("$version trelvik-scenario 1.", 0), 0u) << "the header names the program and version";
    ASSERT_EQ(Run({"on.scn", "--baseline", "base"}), 0) << m_err.str();
    EXPECT_NE(m_out.str().find("on.scn:5: " + std::to_string(RedLampLit() + 301) + " ms: ok: same as the baseline\n"),
              std::string::npos)
        << m_out.str();
    EXPECT_NE(m_out.str().find("3 passed, 0 failed"), std::string::npos) << m_out.str();
    EXPECT_FALSE(fs::exists(m_dir / "base/on.new.vcd"));
    EXPECT_EQ(text_of(m_dir / "base/on.vcd"), m_recorded);

    // The baseline's red lamp lit 7 ms later: the run diverges at that edge, in line 3.
    const uint64_t lit = RedLampLit();
    MoveBaselineEdges(lit, 7);
    ASSERT_EQ(Run({"on.scn", "--baseline", "base"}), 1) << m_err.str();
    const std::string at = std::to_string(lit) + " ms: ";
    const std::string expected = "on.scn:3: " + at +
                                 "FAILED: differs from the baseline: RED_LED 1, baseline 0 (baseline changed at 0 ms)\n"
                                 "    " +
                                 at + "state_number 3, baseline 2 (baseline changed at 2 ms)\n";
    EXPECT_NE(m_out.str().find(expected), std::string::npos) << m_out.str();
    EXPECT_NE(m_out.str().find("on.scn:5: "), std::string::npos) << "the file's other expectations go on";
    EXPECT_NE(m_out.str().find("2 passed, 1 failed"), std::string::npos) << m_out.str();
    EXPECT_EQ(text_of(m_dir / "base/on.new.vcd"), m_recorded) << "the run's trace is kept for review";

    ASSERT_EQ(Run({"on.scn", "--baseline", "base", "--baseline-slack", "7"}), 0) << m_out.str();
    EXPECT_FALSE(fs::exists(m_dir / "base/on.new.vcd")) << "a run that compares equal leaves nothing pending";
}

TEST_F(Baseline, SlackForAllSignalsAndByName)
{
    MoveBaselineEdges(RedLampLit(), 7);
    const struct {
        std::vector<std::string> slack;
        int code;
        const char* shown;
    } cases[] = {
        {{"--baseline-slack", "7"}, 0, "on.scn: 2 edges moved by at most 7 ms\n"},
        {{"--baseline-slack=6"}, 1, "FAILED: differs from the baseline: RED_LED 1"},
        {{"--baseline-slack", "7", "--baseline-slack", "RED_LED=6"}, 1, "on.scn: 1 edge moved by at most 7 ms\n"},
        {{"--baseline-slack", "RED_LED=7"}, 1, "baseline: state_number 3, baseline 2 (baseline changed at 2 ms)"},
        {{"--baseline-slack", "trelvik.ports.RED_LED=7", "--baseline-slack", "state_number=8"}, 0, "2 edges moved"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = {"on.scn", "--baseline", "base"};
        args.insert(args.end(), c.slack.begin(), c.slack.end());
        EXPECT_EQ(Run(args), c.code) << c.shown << "\n" << m_out.str() << m_err.str();
        EXPECT_NE(m_out.str().find(c.shown), std::string::npos) << m_out.str();
    }
}

TEST_F(Baseline, AcceptingMovesThePendingTracesAsked)
{
    std::ofstream(m_dir / "off.scn") << "wait 1500\nexpect state 2\n";
    ASSERT_EQ(Run({"off.scn", "--record-baseline", "base"}), 0) << m_err.str();
    MoveBaselineEdges(RedLampLit(), 7);
    std::ofstream(m_dir / "off.scn") << "wait 1000\nexpect state 2\n";  // ends sooner
    ASSERT_EQ(Run({"on.scn", "off.scn", "--baseline", "base"}), 1);
    EXPECT_NE(m_out.str().find("off.scn:2: 1001 ms: FAILED: differs from the baseline: the run ends at 1001 ms, "
                               "the baseline at 1501 ms"),
              std::string::npos)
        << m_out.str();
    ASSERT_TRUE(fs::exists(m_dir / "base/on.new.vcd") && fs::exists(m_dir / "base/off.new.vcd"));

    EXPECT_EQ(Run({"--accept-baseline", "base", "on.scn", "nope"}), 2);
    EXPECT_EQ(m_err.str(), "base/nope.new.vcd: nothing pending (pending: off on)\n");
    EXPECT_TRUE(fs::exists(m_dir / "base/on.new.vcd")) << "a refusal moves nothing";

    ASSERT_EQ(Run({"--accept-baseline", "base", "on.scn"}), 0) << m_err.str();
    EXPECT_EQ(m_out.str(), "accepted base/on.vcd\n");
    EXPECT_EQ(text_of(m_dir / "base/on.vcd"), m_recorded);
    EXPECT_TRUE(fs::exists(m_dir / "base/off.new.vcd"));

    ASSERT_EQ(Run({"--accept-baseline", "base"}), 0) << m_err.str();
    EXPECT_EQ(m_out.str(), "accepted base/off.vcd\n");
    EXPECT_EQ(Run({"on.scn", "off.scn", "--baseline", "base", "--quiet"}), 0) << m_out.str();
}

TEST_F(Baseline, ItsRecordNamesAnEditedOrAnotherScenarioAndAPendingTraceKeepsToItsOwn)
{
    std::string unrecorded = m_recorded;
    unrecorded.erase(unrecorded.find("$comment"), unrecorded.find("$timescale") - unrecorded.find("$comment"));
    const struct {
        const char* what;
        std::vector<std::pair<const char*, std::string>> files;  // written first
        std::vector<std::string> args;
        int code;
        const char* shown;  // in stdout or stderr; "" none of the notes
    } cases[] = {
        {"its own scenario", {}, {"on.scn", "--baseline", "base"}, 0, ""},
        {"edited",
         {{"on.scn", std::string(POWER_ON) + "wait 1\n"}},
         {"on.scn", "--baseline", "base"},
         1,
         "base/on.vcd: recorded from an earlier text of on.scn, edited since; compared all the same\n"},
        {"another scenario",
         {{"other.scn", POWER_ON}, {"base/other.vcd", m_recorded}},
         {"other.scn", "--baseline", "base"},
         0,
         "base/other.vcd: the baseline of another scenario, on.scn, not of other.scn; compared all the same\n"},
        {"recorded before records",
         {{"base/on.vcd", unrecorded}},
         {"on.scn", "--baseline", "base"},
         0,
         "base/on.vcd: recorded before baselines named their scenario; compared all the same"},
        {"a pending trace of another scenario",
         {{"base/other.new.vcd", m_recorded}},
         {"--accept-baseline", "base", "other"},
         2,
         "base/other.new.vcd: the trace of the scenario on.scn, not of other.scn; not accepted over base/other.vcd\n"},
        {"a scenario named NAME.new",
         {{"on.new.scn", POWER_ON}},
         {"on.new.scn", "--baseline", "base"},
         2,
         "on.new.scn: a scenario named NAME.new has no baseline: its on.new.vcd would be taken for the pending "
         "trace of on; rename the scenario\n"},
        {"an unknown slack name",
         {},
         {"on.scn", "--baseline", "base", "--baseline-slack", "NOSUCH=30"},
         2,
         "--baseline-slack: unknown variable 'NOSUCH': no baseline has it (valid names: RED_LED"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::ofstream(m_dir / "on.scn") << POWER_ON;
        std::ofstream(m_dir / "base/on.vcd") << m_recorded;
        for (const auto& [name, text] : c.files)
            std::ofstream(m_dir / name) << text;
        EXPECT_EQ(Run(c.args), c.code) << m_out.str() << m_err.str();
        const std::string shown = m_out.str() + m_err.str();
        if (*c.shown)
            EXPECT_NE(shown.find(c.shown), std::string::npos) << shown;
        else
            EXPECT_EQ(shown.find("compared all the same"), std::string::npos) << shown;
        fs::remove(m_dir / "base/other.new.vcd");
        fs::remove(m_dir / "base/on.new.vcd");
    }
}

}  // namespace
