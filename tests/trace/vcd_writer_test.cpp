// The value-change dump: its header and declarations, value changes at their
// times (the last value of a millisecond standing), the temporary file and
// its rename, and a round trip through the reader.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "trace/vcd_reader.h"
#include "trace/vcd_writer.h"

namespace {

bool exists(const std::string& path) { return std::ifstream(path).good(); }

std::string contents(const std::string& path)
{
    std::ifstream in(path);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class VcdWriter : public ::testing::Test {
protected:
    void SetUp() override
    {
        // One file per test: ctest runs the tests of this fixture side by side.
        m_path = ::testing::TempDir() + "vcd_writer_" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".vcd";
        std::remove(m_path.c_str());
        std::remove(CVcdWriter::TempPathFor(m_path).c_str());
    }
    void TearDown() override
    {
        std::remove(m_path.c_str());
        std::remove(CVcdWriter::TempPathFor(m_path).c_str());
    }

    // Two bits and a 16-bit number in two scopes.
    void Declare(CVcdWriter& writer)
    {
        m_led = writer.AddVariable("ports", "RED_LED", 1, 0);
        m_key = writer.AddVariable("ports", "POWER_ON_OFF", 1, 1);
        m_state = writer.AddVariable("firmware", "state_number", 16, 0);
    }
    void Finish(CVcdWriter& writer, uint64_t endMs)
    {
        std::string error;
        ASSERT_TRUE(writer.Finish(endMs, error)) << error;
    }

    std::string m_path;
    int m_led = 0, m_key = 0, m_state = 0;
};

TEST_F(VcdWriter, WritesTheHeaderScopesAndDeclarations)
{
    CVcdWriter writer;
    Declare(writer);
    std::string error;
    ASSERT_TRUE(writer.Open(m_path, error)) << error;
    Finish(writer, 10);
    const std::string text = contents(m_path);
    const std::string header =
        "$version trelvik-scenario $end\n"
        "$timescale 1ms $end\n"
        "$scope module trelvik $end\n"
        "$scope module ports $end\n"
        "$var wire 1 ! RED_LED $end\n"
        "$var wire 1 \" POWER_ON_OFF $end\n"
        "$upscope $end\n"
        "$scope module firmware $end\n"
        "$var wire 16 # state_number $end\n"
        "$upscope $end\n"
        "$upscope $end\n"
        "$enddefinitions $end\n"
        "#0\n$dumpvars\n0!\n1\"\nb0 #\n$end\n"
        "#10\n";
    EXPECT_EQ(text, header) << "with no change, the dump at 0 and the end time";
}

TEST_F(VcdWriter, WritesChangesAtTheirTimesAndOnlyRealChanges)
{
    CVcdWriter writer;
    Declare(writer);
    std::string error;
    ASSERT_TRUE(writer.Open(m_path, error)) << error;
    writer.Change(m_state, 0, 1);  // at 0: part of the dump
    writer.Change(m_led, 5, 1);
    writer.Change(m_state, 5, 2);
    writer.Change(m_led, 6, 1);  // no change
    writer.Change(m_key, 7, 0);
    writer.Change(m_key, 7, 1);  // back where the ms began: nothing written
    writer.Change(m_state, 9, 10);
    writer.Change(m_state, 9, 5);  // the last value of the ms stands
    Finish(writer, 12);
    const std::string text = contents(m_path);
    const std::string body = text.substr(text.find("#0\n"));
    EXPECT_EQ(body,
              "#0\n$dumpvars\n0!\n1\"\nb1 #\n$end\n"
              "#5\n1!\nb10 #\n"
              "#9\nb101 #\n"
              "#12\n");
}

// A variable that joins later is left out of the dump at 0 and written at its
// join, alone or among other changes, even after the last change; the
// reader takes it as not traced before.
TEST_F(VcdWriter, WritesAVariableThatJoinsLaterFromItsJoinOn)
{
    CVcdWriter writer;
    Declare(writer);
    const int late = writer.AddVariable("firmware", "late", 8, 3);
    const int last = writer.AddVariable("firmware", "last", 1, 0);
    writer.JoinAt(m_state, 5);
    writer.JoinAt(late, 3);
    writer.JoinAt(last, 20);
    std::string error;
    ASSERT_TRUE(writer.Open(m_path, error)) << error;
    writer.Change(m_led, 2, 1);
    writer.Change(m_led, 5, 0);
    writer.Change(late, 9, 3);  // its value since the join: nothing written
    writer.Change(late, 12, 4);
    Finish(writer, 30);
    const std::string text = contents(m_path);
    EXPECT_EQ(text.substr(text.find("#0\n")),
              "#0\n$dumpvars\n0!\n1\"\n$end\n"
              "#2\n1!\n#3\nb11 $\n#5\nb0 #\n0!\n#12\nb100 $\n#20\n0%\n#30\n");

    CVcdReader reader;
    ASSERT_TRUE(reader.ParseFile(m_path, error)) << error;
    const CVcdReader::CVariable* var = reader.Find("late");
    ASSERT_NE(var, nullptr);
    EXPECT_FALSE(CVcdReader::Traced(*var, 2));
    EXPECT_TRUE(CVcdReader::Traced(*var, 3));
    EXPECT_EQ(CVcdReader::ValueAt(*var, 11), 3u);
    EXPECT_FALSE(CVcdReader::Traced(*reader.Find("last"), 19));
}

TEST_F(VcdWriter, WritesNumbersAsRealVariables)
{
    CVcdWriter writer;
    const int led = writer.AddVariable("ports", "RED_LED", 1, 0);
    const int position = writer.AddNumber("panel", "disk_position", 50);
    std::string error;
    ASSERT_TRUE(writer.Open(m_path, error)) << error;
    writer.Change(position, 100, 48);
    writer.Change(led, 100, 1);
    writer.Change(position, 5000, 0);
    Finish(writer, 5000);
    const std::string text = contents(m_path);
    EXPECT_NE(text.find("$var real 64 \" disk_position $end\n"), std::string::npos) << text;
    EXPECT_NE(text.find("#0\n$dumpvars\n0!\nr50 \"\n$end\n#100\nr48 \"\n1!\n#5000\nr0 \"\n"), std::string::npos)
        << text;
}

TEST_F(VcdWriter, WritesToATemporaryNameUntilFinished)
{
    std::string temp;
    {
        CVcdWriter writer;
        Declare(writer);
        std::string error;
        ASSERT_TRUE(writer.Open(m_path, error)) << error;
        writer.Change(m_led, 3, 1);
        temp = writer.TempPath();
        EXPECT_EQ(temp.rfind(CVcdWriter::TempPathFor(m_path), 0), 0u) << temp;
        EXPECT_TRUE(temp.ends_with(".part")) << temp;
        EXPECT_TRUE(exists(temp));
        EXPECT_FALSE(exists(m_path)) << "nothing under the target's name while the run goes on";
        CVcdWriter second;
        ASSERT_TRUE(second.Open(m_path, error)) << error;
        EXPECT_NE(second.TempPath(), temp) << "two writers of one target never share a temporary file";
    }
    EXPECT_FALSE(exists(m_path)) << "an unfinished writer leaves no trace";
    EXPECT_FALSE(exists(temp)) << "and removes its temporary file";

    std::ofstream(m_path) << "an older trace\n";
    CVcdWriter writer;
    Declare(writer);
    std::string error;
    ASSERT_TRUE(writer.Open(m_path, error)) << error;
    EXPECT_EQ(contents(m_path), "an older trace\n") << "the old file stands until the new one is whole";
    Finish(writer, 1);
    EXPECT_EQ(contents(m_path).rfind("$version", 0), 0u);
    EXPECT_FALSE(exists(writer.TempPath()));
}

TEST_F(VcdWriter, StopsGrowingAtItsLimitAndLeavesTheTargetAsItWas)
{
    std::ofstream(m_path) << "an older trace\n";
    CVcdWriter writer;
    Declare(writer);
    writer.SetByteLimit(1 << 20);
    std::string error;
    ASSERT_TRUE(writer.Open(m_path, error)) << error;
    const std::string temp = writer.TempPath();
    for (uint64_t ms = 1; ms <= 200000; ++ms)
        writer.Change(m_state, ms, ms & 0xFFFF);
    EXPECT_FALSE(writer.Finish(200001, error));
    EXPECT_NE(error.find(m_path + ": the trace reached its limit of 1 MB at "), std::string::npos) << error;
    EXPECT_EQ(contents(m_path), "an older trace\n") << "nothing renamed over the target";
    EXPECT_FALSE(exists(temp)) << "the temporary file is removed";
}

TEST_F(VcdWriter, ReportsATargetThatCannotBeWritten)
{
    CVcdWriter writer;
    Declare(writer);
    std::string error;
    EXPECT_FALSE(writer.Open("/nonexistent/dir/trace.vcd", error));
    EXPECT_NE(error.find("/nonexistent/dir/trace.vcd."), std::string::npos) << error;
    EXPECT_NE(error.find("No such file or directory"), std::string::npos) << "the system's reason: " << error;
}

TEST_F(VcdWriter, IdentifiersAreDistinctPrintableCodes)
{
    std::vector<std::string> seen;
    for (int var = 0; var < 94 * 3; ++var) {
        const std::string id = CVcdWriter::IdentifierOf(var);
        for (char c : id)
            ASSERT_TRUE(c >= '!' && c <= '~') << var;
        ASSERT_EQ(std::find(seen.begin(), seen.end(), id), seen.end()) << "identifier of " << var << " repeats";
        seen.push_back(id);
    }
}

TEST_F(VcdWriter, RoundTripsThroughTheReader)
{
    CVcdWriter writer;
    int vars[100];
    // Enough to need two-character identifiers; bits, 12-bit vectors and numbers.
    for (int i = 0; i < 100; ++i)
        vars[i] = i % 10 == 4 ? writer.AddNumber(i < 50 ? "a" : "b", "v" + std::to_string(i), 0)
                              : writer.AddVariable(i < 50 ? "a" : "b", "v" + std::to_string(i), i % 2 ? 1 : 12, 0);
    std::string error;
    ASSERT_TRUE(writer.Open(m_path, error)) << error;
    for (uint64_t t = 1; t <= 40; ++t)
        for (int i = 0; i < 100; ++i)
            if ((t + static_cast<uint64_t>(i)) % 7 == 0)
                writer.Change(vars[i], t, i % 2 ? t % 2 : t * 100 + static_cast<uint64_t>(i));
    Finish(writer, 50);

    CVcdReader reader;
    ASSERT_TRUE(reader.ParseFile(m_path, error)) << error;
    EXPECT_EQ(reader.Timescale(), "1ms");
    EXPECT_EQ(reader.EndTime(), 50u);
    ASSERT_EQ(reader.Variables().size(), 100u);
    for (int i = 0; i < 100; ++i) {
        const std::string name = std::string("trelvik.") + (i < 50 ? "a" : "b") + ".v" + std::to_string(i);
        const CVcdReader::CVariable* var = reader.Find(name);
        ASSERT_NE(var, nullptr) << i;
        const bool number = i % 10 == 4;
        EXPECT_EQ(var->real, number);
        EXPECT_EQ(var->width, number ? 64 : (i % 2 ? 1 : 12));
        const uint64_t mask = number ? ~uint64_t{0} : (i % 2 ? 1u : 0xFFFu);
        uint64_t expected = 0;
        for (uint64_t t = 0; t <= 50; ++t) {
            if (t >= 1 && t <= 40 && (t + static_cast<uint64_t>(i)) % 7 == 0)
                expected = (i % 2 ? t % 2 : t * 100 + static_cast<uint64_t>(i)) & mask;
            ASSERT_EQ(CVcdReader::ValueAt(*var, t), expected) << "v" << i << " at " << t << " ms";
        }
    }
}

TEST_F(VcdWriter, TheReaderRefusesWhatItCannotRead)
{
    CVcdReader reader;
    std::string error;
    EXPECT_FALSE(reader.Parse("$timescale 1ms $end\n$var wire 1 ! a $end\n", error));
    EXPECT_EQ(error, "no $enddefinitions");
    EXPECT_FALSE(reader.Parse("$var wire 1 ! a $end\n$enddefinitions $end\n#0\n1?\n", error));
    EXPECT_NE(error.find("undeclared identifier '?'"), std::string::npos) << error;
    EXPECT_FALSE(reader.Parse("$var wire 1 ! a $end\n$enddefinitions $end\n#x\n", error));

    // Numbers must be whole words, and time must not go back: ValueAt and the
    // plot take the changes in time order.
    const struct {
        const char* body;
        const char* error;
    } refused[] = {
        {"#5\n1!\n#3=\n0!\n", "5: bad time '#3='"},
        {"#5\n1!\n#4\xFF\n", "5: not UTF-8 text (byte 0xff)"},
        {"#5\n1!\n#3\n0!\n", "5: time goes back from 5 to 3"},
        {"#-1\n", "3: bad time '#-1'"},
    };
    for (const auto& c : refused) {
        EXPECT_FALSE(reader.Parse(std::string("$var wire 1 ! a $end\n$enddefinitions $end\n") + c.body, error));
        EXPECT_EQ(error, c.error) << c.body;
    }
    for (const char* width : {"0", "8x", "-8", "99999999999"}) {
        EXPECT_FALSE(reader.Parse(std::string("$var wire ") + width + " ! a $end\n$enddefinitions $end\n", error));
        EXPECT_EQ(error, "1: bad width in $var (1 to 4096 bits)") << width;
    }
}

// A whole real is held as its number, a negative one with its sign, as the
// runner and the workbench read our traces; a real with a fraction, one beyond
// 64 bits, an infinity and NaN are read as reals.
TEST_F(VcdWriter, TheReaderHoldsWholeRealsAsNumbersAndReadsAllOthers)
{
    const std::string head = "$var real 64 ! a $end\n$enddefinitions $end\n#0\n";
    CVcdReader reader;
    std::string error;
    ASSERT_TRUE(reader.Parse(head + "r12 !\n#1\nr-3 !\n#2\n", error)) << error;
    const CVcdReader::CVariable& var = reader.Variables().front();
    EXPECT_EQ(CVcdReader::ValueAt(var, 0), 12u);
    EXPECT_EQ(static_cast<int64_t>(CVcdReader::ValueAt(var, 1)), -3);
    ASSERT_TRUE(reader.Parse(head + "r12 !\n#1\nr1e30 !\n#2\nrNaN !\n#3\nr-inf !\n#4\nr12.5 !\n", error)) << error;
    std::string texts;
    for (uint64_t t = 0; t <= 4; ++t)
        texts += CVcdReader::Text(reader.Variables().front(), CVcdReader::ValueAt(reader.Variables().front(), t)) + " ";
    EXPECT_EQ(texts, "12 1e+30 NaN -inf 12.5 ");
}

}  // namespace
