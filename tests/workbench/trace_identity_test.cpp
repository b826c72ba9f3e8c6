// One run, two writers: the runner's trace of a scenario and the workbench's
// export of the same scenario replayed are the same file byte for byte, but
// for the $version line that names the program (the runner's with its
// version). The run covers the signals, state_number, run_sec, the motors'
// travel, the beeps, a plant fault and a watched variable.

#include <QTemporaryDir>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "scenario/language/scenario_parser.h"
#include "scenario/run/instrumented_run.h"
#include "trelvik_version.h"
#include "workbench/model/scenario_replay.h"
#include "workbench/widgets/trace_dock.h"
#include "workbench_fixture.h"

namespace {

// The runner's run comes first: one simulated machine per process at a time,
// so the window and its session are made after it.
class TraceIdentity : public CWorkbenchTest {
protected:
    void SetUp() override
    {
        CQtTest::SetUp();
        QStandardPaths::setTestModeEnabled(true);
    }
    void OpenWindow()
    {
        m_window = std::make_unique<CWorkbenchWindow>(SettingsFile());
        m_window->show();
    }
};

std::string read_file(const QString& path)
{
    std::ifstream in(path.toStdString(), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST_F(TraceIdentity, TheRunnerAndTheWorkbenchWriteTheSameTraceButForTheVersion)
{
    const std::string scenario =
        "wait 1200\n"
        "click power\n"
        "run-until state 파워 온 대기 within 1000\n"
        "click cover\n"
        "click cover\n"
        "run-until state 워싱 within 500\n"
        "fault motor disk jammed\n"
        "wait 3000\n"
        "clear all\n"
        "run-until motor disk 0..10 within 8000\n"
        "click power\n"
        "run-until state 파워 오프 within 1000\n"
        "wait 1500\n";
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("same.scn"));
    std::ofstream(path.toStdString()) << scenario;

    CScenarioParser parser;
    ASSERT_TRUE(parser.Parse(scenario)) << parser.ErrorReason();
    CInstrumentedRun run("same.scn", parser.Steps());
    run.SetTrace(dir.filePath(QStringLiteral("runner.vcd")).toStdString(), {"disk_retry_ls"});
    ASSERT_EQ(run.Run().code, 0);

    OpenWindow();
    m_window->TraceDock().AddVariable(QStringLiteral("disk_retry_ls"));
    Driver().SetSpeed(CFrameClock::SPEED_MAX);
    QString error;
    ASSERT_TRUE(m_window->OpenScenario(path, error)) << error.toStdString();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !m_window->Replay().Active(); }, 20000));
    std::string reason;
    ASSERT_TRUE(Session().Trace().ExportVcd(dir.filePath(QStringLiteral("workbench.vcd")).toStdString(), Now(), reason))
        << reason;

    std::string runner = read_file(dir.filePath(QStringLiteral("runner.vcd")));
    std::string workbench = read_file(dir.filePath(QStringLiteral("workbench.vcd")));
    ASSERT_EQ(runner.rfind("$version trelvik-scenario " TRELVIK_VERSION " $end\n", 0), 0u);
    ASSERT_EQ(workbench.rfind("$version trelvik-workbench $end\n", 0), 0u);
    runner.erase(0, runner.find('\n'));
    workbench.erase(0, workbench.find('\n'));
    EXPECT_GT(std::count(runner.begin(), runner.end(), '#'), 30) << "a run with many changes";
    EXPECT_NE(runner.find("disk_position"), std::string::npos);
    EXPECT_NE(runner.find("beeps"), std::string::npos);
    EXPECT_NE(runner.find("disk_retry_ls"), std::string::npos);
    EXPECT_EQ(runner, workbench);
}

}  // namespace
