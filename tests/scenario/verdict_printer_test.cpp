// The runner on the real simulator in virtual time: exit codes, the lines
// it prints, run-until limits, the buzzer count, the trace it writes and the
// panel snapshot.

#include <gtest/gtest.h>

#include <QImage>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "board/port_pin.h"
#include "scenario/language/panel_names.h"
#include "scenario/language/scenario_parser.h"
#include "scenario/run/png_snapshot.h"
#include "support/scenario/verdict_printer.h"
#include "support/sim_fixture.h"
#include "trace/vcd_reader.h"
#include "trace/vcd_writer.h"

namespace {

bool exists(const std::string& path) { return std::ifstream(path).good(); }

// Powers on from power-off: the key is down from 51 to 151 ms; standby is reached at 153 ms.
const char* const POWER_ON =
    "wait 50\n"
    "click 전원\n"
    "run-until state 3 within 1000\n";

class ScenarioRunner : public ::testing::Test {
protected:
    void TearDown() override
    {
        for (const std::string& path : m_files) {
            std::remove(path.c_str());
            std::remove(CVcdWriter::TempPathFor(path).c_str());
        }
    }

    int Run(const std::string& text, CScenarioOptions options = {})
    {
        CScenarioParser parser;
        EXPECT_TRUE(parser.Parse(text)) << parser.ErrorMessage("test");
        options.fileName = "t.scn";
        m_out.str("");
        m_err.str("");
        CVerdictPrinter runner(m_out, m_err, options);
        const int code = runner.Run(parser.Steps());
        m_passed = runner.Passed();
        m_failed = runner.Failed();
        return code;
    }
    std::vector<std::string> Lines() const
    {
        std::vector<std::string> lines;
        std::istringstream in(m_out.str());
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }
    std::string TempFile(const std::string& name)
    {
        const std::string path = ::testing::TempDir() + name;
        std::remove(path.c_str());
        m_files.push_back(path);
        return path;
    }

    std::ostringstream m_out;
    std::ostringstream m_err;
    int m_passed = 0;
    int m_failed = 0;
    std::vector<std::string> m_files;
};

TEST_F(ScenarioRunner, PrintsOneLinePerExpectationAndTheSummaryAndExitsByTheOutcome)
{
    EXPECT_EQ(Run(std::string(POWER_ON) + "wait 200\nexpect lamp red on\nexpect state 파워 온 대기\n"),
              CVerdictPrinter::ALL_HELD)
        << m_out.str();
    std::vector<std::string> lines = Lines();
    ASSERT_EQ(lines.size(), 4u) << m_out.str();
    EXPECT_EQ(lines[0],
              "t.scn:3: 153 ms: ok: run-until state 3 (파워 온 대기) within 1000; seen 3 (파워 온 대기) after 2 ms");
    EXPECT_EQ(lines[1], "t.scn:5: 353 ms: ok: expect lamp red on; seen on");
    EXPECT_EQ(lines[3], "3 passed, 0 failed") << "the summary alone on the last line";

    EXPECT_EQ(Run(std::string(POWER_ON) + "expect state 7\nexpect signal RED_LED 1\n"), CVerdictPrinter::SOME_FAILED);
    lines = Lines();
    ASSERT_EQ(lines.size(), 4u) << m_out.str();
    EXPECT_EQ(lines[1], "t.scn:4: 153 ms: FAILED: expect state 7 (건조); seen 3 (파워 온 대기)");
    EXPECT_EQ(lines[2], "t.scn:5: 153 ms: ok: expect signal RED_LED 1; seen 1")
        << "a failure does not stop the run; the bit is set before the lamp shows it";
    EXPECT_EQ(lines[3], "2 passed, 1 failed");
}

TEST_F(ScenarioRunner, QuietPrintsOnlyTheFailuresAndTheSummary)
{
    CScenarioOptions options;
    options.quiet = true;
    EXPECT_EQ(Run(std::string(POWER_ON) + "expect state 3\nexpect state 2\n", options), CVerdictPrinter::SOME_FAILED);
    const std::vector<std::string> lines = Lines();
    ASSERT_EQ(lines.size(), 2u) << m_out.str();
    EXPECT_NE(lines[0].find("t.scn:5: 153 ms: FAILED: expect state 2"), std::string::npos) << lines[0];
    EXPECT_EQ(lines[1], "2 passed, 1 failed");
}

TEST_F(ScenarioRunner, ARunUntilWhoseLimitPassesFailsAndTheRunGoesOnFromTheLimit)
{
    EXPECT_EQ(Run("wait 50\nrun-until state 3 within 500\nexpect state 2\n"), CVerdictPrinter::SOME_FAILED);
    const std::vector<std::string> lines = Lines();
    ASSERT_EQ(lines.size(), 3u) << m_out.str();
    EXPECT_EQ(lines[0],
              "t.scn:2: 551 ms: FAILED: run-until state 3 (파워 온 대기) within 500; "
              "seen 2 (파워 오프), the limit passed");
    EXPECT_EQ(lines[1], "t.scn:3: 551 ms: ok: expect state 2 (파워 오프); seen 2 (파워 오프)");
}

TEST_F(ScenarioRunner, BeepsAreCountedSinceTheLastExpectationOfThem)
{
    // Start-up sounds once for 1 s, power-on falls into it; the drawer alarm
    // sounds once every 1.8 s.
    EXPECT_EQ(Run(std::string(POWER_ON) + "wait 1500\n"
                                          "expect lamp red on\n"  // other expectations do not restart the count
                                          "expect beeps 1\n"
                                          "expect beeps 0\n"
                                          "click 서랍\n"
                                          "run-until beeps 3 within 4000\n"
                                          "expect beeps 3\n"),
              CVerdictPrinter::ALL_HELD)
        << m_out.str();
    EXPECT_EQ(m_passed, 6);
}

TEST_F(ScenarioRunner, HoldsAndReleasesInputsAndReadsReadoutsAsThePanelDrawsThem)
{
    EXPECT_EQ(Run("wait 50\n"
                  "press power\n"
                  "wait 500\n"
                  "expect signal POWER_ON_OFF 0\n"
                  "expect state 2\n"  // the firmware waits for the release
                  "release\n"
                  "run-until state 3 within 100\n"
                  "wait 200\n"
                  "expect readout state \"state: 3 (파워 온 대기)\"\n"
                  "click 246 155\n"  // the cover by its coordinates
                  "run-until readout state \"state: 4 (커버 열림)\" within 500\n"
                  "wait 1000\n"
                  "expect readout run_sec \"run_sec: 1\"\n"),
              CVerdictPrinter::ALL_HELD)
        << m_out.str();
}

TEST_F(ScenarioRunner, ResetCpuIsTheBoundedStopAndTheRestart)
{
    EXPECT_EQ(Run(std::string(POWER_ON) + "reset-cpu\nexpect state 기동\nrun-until state 2 within 10\n"),
              CVerdictPrinter::ALL_HELD)
        << m_out.str();
    const std::vector<std::string> lines = Lines();
    ASSERT_EQ(lines.size(), 4u) << m_out.str();
    // Standby never ends by itself: the stop is forced 5050 ms after the
    // request, and the next step sees the restarted firmware at its start-up.
    EXPECT_EQ(lines[1], "t.scn:5: 5205 ms: ok: expect state 1 (기동); seen 1 (기동)");
}

TEST_F(ScenarioRunner, WritesTheTraceWithTheRunsChangesAtTheirTimes)
{
    CScenarioOptions options;
    options.vcdPath = TempFile("runner_test.vcd");
    EXPECT_EQ(Run(std::string(POWER_ON) + "wait 3000\nexpect state 3\nexpect state 4\n", options),
              CVerdictPrinter::SOME_FAILED);
    EXPECT_TRUE(exists(options.vcdPath)) << "the whole trace is there after a failed expectation too";
    EXPECT_FALSE(exists(CVcdWriter::TempPathFor(options.vcdPath)));

    CVcdReader trace;
    std::string error;
    ASSERT_TRUE(trace.ParseFile(options.vcdPath, error)) << error;
    EXPECT_EQ(trace.Timescale(), "1ms");
    EXPECT_EQ(trace.EndTime(), 3153u);
    for (const CWiredSignal& signal : WIRED_SIGNALS) {
        const CVcdReader::CVariable* var = trace.Find(signal.name);
        ASSERT_NE(var, nullptr) << signal.name;
        EXPECT_EQ(var->width, 1) << signal.name;
    }
    for (const char* name : {"state_number", "run_sec", "disk_position", "exit_position", "main_position", "beeps"}) {
        ASSERT_NE(trace.Find(name), nullptr) << name;
        EXPECT_TRUE(trace.Find(name)->real) << name << ": a number, which logic viewers skip";
    }

    // The key goes down at 51 ms and up at 151 ms; standby is entered on the release.
    const CVcdReader::CVariable& key = *trace.Find("POWER_ON_OFF");
    EXPECT_EQ(CVcdReader::ValueAt(key, 50), 1u);
    EXPECT_EQ(CVcdReader::ValueAt(key, 51), 0u);
    EXPECT_EQ(CVcdReader::ValueAt(key, 150), 0u);
    EXPECT_EQ(CVcdReader::ValueAt(key, 151), 1u);
    const CVcdReader::CVariable& state = *trace.Find("state_number");
    EXPECT_EQ(CVcdReader::ValueAt(state, 0), 1u) << "start-up at 0";
    EXPECT_EQ(CVcdReader::ValueAt(state, 150), 2u);
    EXPECT_EQ(CVcdReader::ValueAt(state, 3000), 3u);
    const CVcdReader::CVariable& lamp = *trace.Find("RED_LED");
    EXPECT_EQ(CVcdReader::ValueAt(lamp, 100), 0u);
    EXPECT_EQ(CVcdReader::ValueAt(lamp, 3000), 1u);
    EXPECT_EQ(CVcdReader::ValueAt(*trace.Find("beeps"), 3000), 1u)
        << "the start-up beep; power-on falls into its 1 s sound";
    EXPECT_EQ(CVcdReader::ValueAt(*trace.Find("disk_position"), 3000), 50u);
    EXPECT_EQ(CVcdReader::ValueAt(*trace.Find("run_sec"), 3000), 3u);
}

TEST_F(ScenarioRunner, ATraceThatCannotBeWrittenRunsNothing)
{
    CScenarioOptions options;
    options.vcdPath = "/nonexistent/dir/trace.vcd";
    EXPECT_EQ(Run("wait 10\nexpect state 2\n", options), CVerdictPrinter::NOT_RUN);
    EXPECT_EQ(m_out.str(), "") << "no expectation ran";
    EXPECT_NE(m_err.str().find("t.scn: cannot create /nonexistent/dir/trace.vcd."), std::string::npos) << m_err.str();
}

TEST_F(ScenarioRunner, TheSnapshotIsThePanelAsPainted)
{
    const std::string path = TempFile("runner_test.png");
    EXPECT_EQ(Run(std::string(POWER_ON) + "wait 200\nsnapshot " + path + "\n"), CVerdictPrinter::ALL_HELD)
        << m_out.str();
    const QImage shot(QString::fromStdString(path));
    ASSERT_FALSE(shot.isNull()) << path;
    EXPECT_EQ(shot.width(), CPngSnapshot::WIDTH);
    EXPECT_EQ(shot.height(), CPngSnapshot::HEIGHT);
    // The lit red lamp at (200, 77), as its picture.
    const QImage lamp(QStringLiteral(":/pictures/picture_148.bmp"));
    ASSERT_FALSE(lamp.isNull());
    for (int y = 0; y < 20; y += 3)
        for (int x = 0; x < 20; x += 3)
            ASSERT_EQ(shot.pixel(200 + x, 77 + y) & 0xFFFFFF, lamp.pixel(x, y) & 0xFFFFFF) << x << "," << y;

    EXPECT_EQ(Run("snapshot /nonexistent/dir/x.png\n"), CVerdictPrinter::NOT_RUN)
        << "a snapshot that cannot be saved is no verdict on the firmware, but the run is not to be trusted";
    EXPECT_EQ(m_err.str().rfind("t.scn:1: snapshot /nonexistent/dir/x.png: ", 0), 0u) << m_err.str();
    EXPECT_EQ(m_failed, 0);
}

TEST_F(ScenarioRunner, ExpectForWatchesEveryMsAndRunUntilAfterRefusesAnEarlyHold)
{
    EXPECT_EQ(Run("wait 50\n"
                  "click 전원\n"
                  "run-until state 3 within 1000 after 50\n"  // 2 ms after the release: too early
                  "expect-for 1000 state 3\n"
                  "click 전원\n"
                  "expect-for 500 not state 2\n"  // power-off 2 ms after the release
                  "expect state 2\n"
                  "click 전원\n"
                  "run-until state 3 within 500 after 1\n"),
              CVerdictPrinter::SOME_FAILED)
        << m_out.str();
    const std::vector<std::string> lines = Lines();
    ASSERT_EQ(lines.size(), 6u) << m_out.str();
    EXPECT_EQ(lines[0],
              "t.scn:3: 153 ms: FAILED: run-until state 3 (파워 온 대기) within 1000 after 50; "
              "seen 3 (파워 온 대기) after 2 ms, before 50 ms");
    EXPECT_EQ(lines[1],
              "t.scn:4: 1153 ms: ok: expect-for 1000 state 3 (파워 온 대기); seen 3 (파워 온 대기) for 1000 ms");
    EXPECT_EQ(lines[2],
              "t.scn:6: 1255 ms: FAILED: expect-for 500 not state 2 (파워 오프); seen 2 (파워 오프) after 2 ms")
        << "the first ms it failed";
    EXPECT_EQ(lines[3], "t.scn:7: 1753 ms: ok: expect state 2 (파워 오프); seen 2 (파워 오프)")
        << "time ran on to the end of the expect-for";
    EXPECT_EQ(lines[4].rfind("t.scn:9: 1855 ms: ok: run-until state 3", 0), 0u) << lines[4];
}

TEST_F(ScenarioRunner, AClickAfterAClickAtThePlaceIsASecondClick)
{
    // The first click's release at 151 ms powers on; the key stays up for
    // 100 ms, the second click's release at 351 ms powers off again.
    EXPECT_EQ(Run("wait 50\nclick 전원\nclick 전원\nexpect state 3\nrun-until state 2 within 10\n"),
              CVerdictPrinter::ALL_HELD)
        << m_out.str();
    EXPECT_EQ(Lines()[1],
              "t.scn:5: 353 ms: ok: run-until state 2 (파워 오프) within 10; seen 2 (파워 오프) after 2 ms");
}

TEST_F(ScenarioRunner, FaultsHoldThePlantUntilClearedAndTheFirmwareVariablesShowIt)
{
    // Washing first homes the disk to RS. With RS stuck at 1 it gets there
    // but the controller keeps driving; the jammed exit motor waits its turn.
    EXPECT_EQ(Run(std::string(POWER_ON) + "fault DISK_MOT_RS stuck 1\n"
                                          "fault motor exit jammed\n"
                                          "click 커버\nclick 커버\n"
                                          "run-until state 워싱 within 500\n"
                                          "run-until motor disk 0 within 3000\n"
                                          "expect-for 3000 signal DISK_MOT_A 1\n"
                                          "expect signal DISK_MOT_RS 1\n"
                                          "expect timer disk_timer running\n"
                                          "expect var disk_retry_rs 0\n"
                                          "clear DISK_MOT_RS\n"
                                          "run-until timer disk_timer idle within 200\n"
                                          "run-until signal EXIT_MOT_A 1 within 200\n"
                                          "expect-for 3000 motor exit 50\n"
                                          "clear all\n"
                                          "run-until motor exit 0 within 3000\n"
                                          "expect not timer exit_timer idle\n"
                                          "run-until not timer exit_timer running within 200\n"),
              CVerdictPrinter::ALL_HELD)
        << m_out.str();
    EXPECT_EQ(m_passed, 13);
}

// The runner's names for the signals are the board's, in the board's order.
class ScenarioSignals : public CSimFixture {};

TEST_F(ScenarioSignals, AreTheWiredSignalsOfTheBoard)
{
    ASSERT_EQ(Board().m_pins.size(), static_cast<size_t>(WIRED_SIGNAL_COUNT));
    for (int i = 0; i < WIRED_SIGNAL_COUNT; ++i) {
        const CPortPin& pin = *Board().m_pins[static_cast<size_t>(i)];
        EXPECT_EQ(pin.m_strName, WIRED_SIGNALS[i].name) << "row " << i;
        EXPECT_EQ(pin.m_pPort, port_bytes[WIRED_SIGNALS[i].signal.port]) << WIRED_SIGNALS[i].name;
        EXPECT_EQ(pin.m_nBit, WIRED_SIGNALS[i].signal.bit) << WIRED_SIGNALS[i].name;
    }
}

}  // namespace
