// One call of the runner over scenario files in a scratch folder, as main
// makes it: the names it shows and the JUnit report that strict parsers read.

#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QXmlStreamReader>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "scenario/command_line.h"
#include "scenario/reports/coverage_merge.h"
#include "scenario/reports/junit_report.h"
#include "scenario/reports/scenario_coverage.h"
#include "scenario/run/scenario_batch.h"

namespace {

namespace fs = std::filesystem;

QByteArray contents(const fs::path& path)
{
    QFile file(QString::fromStdString(path.string()));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class ScenarioBatch : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::path(::testing::TempDir()) /
                ("batch_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    std::string Write(const std::string& name, const std::string& text)
    {
        std::ofstream(m_dir / name) << text;
        return (m_dir / name).string();
    }
    // Runs the call given by `args` (paths taken from the scratch folder); its exit code.
    int Run(std::vector<std::string> args)
    {
        std::vector<const char*> argv = {"trelvik-scenario"};
        for (const std::string& arg : args)
            argv.push_back(arg.c_str());
        CCommandLine command;
        EXPECT_TRUE(command.Parse(static_cast<int>(argv.size()), argv.data())) << command.Error();
        CScenarioBatch batch(command, m_out, m_err);
        return batch.Run();
    }

    fs::path m_dir;
    std::ostringstream m_out;
    std::ostringstream m_err;
};

TEST(JunitReport, ReplacesWhatXml10CannotCarry)
{
    const struct {
        const char* text;
        const char* safe;
    } cases[] = {
        {"plain <&> \"text\"", "plain <&> \"text\""},  // escaping is the writer's
        {"tab\tline\ncr\r", "tab\tline\ncr\r"},
        {"bell\a and escape\x1b", "bell\uFFFD and escape\uFFFD"},
        {"not UTF-8 \xff", "not UTF-8 \uFFFD"},
        {"noncharacter \xEF\xBF\xBE", "noncharacter \uFFFD"},
        {"워싱", "워싱"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CJunitReport::XmlSafe(c.text), c.safe) << c.text;
}

TEST_F(ScenarioBatch, ANameThatIsNotUtf8IsShownEscapedAndTheReportParses)
{
    const std::string file = Write("\xff\xfe.scn", "wait 10\nexpect state 7\n");
    const std::string report = (m_dir / "r.xml").string();
    EXPECT_EQ(Run({file, "--junit", report}), 1);
    const std::string shown = (m_dir / "\\xff\\xfe.scn").string();
    EXPECT_EQ(m_out.str().rfind(shown + ":2: 11 ms: FAILED: expect state 7", 0), 0u) << m_out.str();

    QXmlStreamReader xml(contents(report));
    int failures = 0;
    while (!xml.atEnd())
        if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("failure")) {
            ++failures;
            EXPECT_EQ(xml.attributes().value("message").toString().toStdString().rfind(shown + ":2: ", 0), 0u);
        }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_EQ(failures, 1);
}

// Two files power on and off, one twice: the dashboard's counts add up over the call.
TEST_F(ScenarioBatch, TheCoverageJsonCountsEachItemOverAllFiles)
{
    const std::string once = Write("once.scn", "wait 50\nclick power\nrun-until state 3 within 1000\n");
    const std::string twice = Write("twice.scn",
                                    "wait 50\nclick power\nrun-until state 3 within 1000\n"
                                    "click power\nrun-until state 2 within 1000\n"
                                    "click power\nrun-until state 3 within 1000\n");
    const std::string json = (m_dir / "c.json").string();
    EXPECT_EQ(Run({once, twice, "--coverage-json", json, "--quiet"}), 0) << m_err.str();
    const QJsonObject root = QJsonDocument::fromJson(contents(json)).object();
    const auto count = [&](const char* list, int row) { return root[list].toArray()[row].toObject()["count"].toInt(); };
    EXPECT_EQ(count("states", 0), 2) << "start-up, once per file";
    EXPECT_EQ(count("states", 2), 3) << "standby";
    EXPECT_EQ(count("transitions", 1), 3) << "power off -> standby";
    EXPECT_EQ(count("transitions", 2), 1) << "standby -> power off";
    EXPECT_EQ(count("transitions", 3), 0);
    EXPECT_EQ(root["reached"].toObject()["transitions"].toInt(), 3);
    EXPECT_EQ(root["of"].toObject()["transitions"].toInt(), 27);
    EXPECT_EQ(root["transitions"].toArray()[1].toObject()["what"].toString(), "power key");
}

// Shards by file, merged, count what one call over all the files counts; in
// one process and in worker processes alike.
TEST_F(ScenarioBatch, MergedShardsCountWhatOneCallCountsWithAnyNumberOfJobs)
{
    const std::string once = Write("once.scn", "wait 50\nclick power\nrun-until state 3 within 1000\n");
    const std::string twice = Write("twice.scn",
                                    "wait 50\nclick power\nrun-until state 3 within 1000\n"
                                    "click cover\nrun-until state 4 within 1000\n");
    const std::string a = (m_dir / "a.json").string(), b = (m_dir / "b.json").string();
    const std::string all1 = (m_dir / "all1.json").string(), all2 = (m_dir / "all2.json").string();
    const std::string merged = (m_dir / "merged.json").string();
    EXPECT_EQ(Run({once, "--coverage-json", a, "--quiet"}), 0) << m_err.str();
    EXPECT_EQ(Run({twice, "--coverage-json", b, "--quiet"}), 0) << m_err.str();
    EXPECT_EQ(Run({once, twice, "--coverage-json", all1, "--quiet", "--jobs", "1"}), 0) << m_err.str();
    EXPECT_EQ(Run({once, twice, "--coverage-json", all2, "--quiet", "--jobs", "2"}), 0) << m_err.str();
    std::ostringstream out, err;
    EXPECT_EQ(CCoverageMerge({a, b}, merged, out, err).Run(), 0) << err.str();
    EXPECT_EQ(contents(merged), contents(all1));
    EXPECT_EQ(contents(all2), contents(all1));
    EXPECT_NE(out.str().find("merged 2 coverage reports\n"), std::string::npos) << out.str();
    EXPECT_NE(out.str().find("coverage: states 4/10, transitions 3/27"), std::string::npos) << out.str();
}

TEST_F(ScenarioBatch, AReportThatIsNotOursIsRefusedWithItsReason)
{
    const std::string good = (m_dir / "good.json").string();
    EXPECT_EQ(Run({Write("once.scn", "wait 50\nclick power\nrun-until state 3 within 1000\n"), "--coverage-json", good,
                   "--quiet"}),
              0);
    const std::string json = contents(good).toStdString();
    const auto edited = [&](const std::string& from, const std::string& to) {
        std::string text = json;
        const size_t at = text.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        return at == std::string::npos ? text : text.replace(at, from.size(), to);
    };
    const struct {
        std::string json;
        const char* reason;
    } cases[] = {
        {"{\"states\": [", "not JSON"},
        {"[1, 2]", "not JSON"},
        {"{}", "\"states\" has 0 items, not 10"},
        {edited("\"count\": 1", "\"count\": -1"), "\"states\" item 1: bad count"},
        {edited("\"count\": 1", "\"count\": 1.5"), "\"states\" item 1: bad count"},
        {edited("\"from\": 1", "\"from\": 4"), "\"transitions\" item 1 is not this program's"},
        {edited("\"tick_timer\"", "\"tock_timer\""), "\"timers\" item 1 is not this program's"},
    };
    for (const auto& c : cases) {
        CScenarioCoverage coverage;
        std::string error;
        EXPECT_FALSE(CCoverageMerge::Add(c.json, coverage, error)) << c.reason;
        EXPECT_NE(error.find(c.reason), std::string::npos) << error;
        EXPECT_EQ(coverage.States(), 0) << "nothing of a refused report is counted: " << c.reason;
    }
    CScenarioCoverage coverage;
    std::string error;
    EXPECT_TRUE(CCoverageMerge::Add(json, coverage, error)) << error;
    EXPECT_TRUE(CCoverageMerge::Add(json, coverage, error)) << error;
    EXPECT_EQ(coverage.Entered(ST_STANDBY), 2u);
}

}  // namespace
