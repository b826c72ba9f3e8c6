#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <sys/stat.h>

#include "trace/vcd_reader.h"

namespace {

const std::string HEADER =
    "$timescale 1 ms $end\n$scope module t $end\n$var wire 1 ! LED $end\n"
    "$var real 64 \" temp $end\n$upscope $end\n$enddefinitions $end\n";

// What is no trace, or no longer one, is refused with its line.
TEST(VcdReader, RefusesWithTheLine)
{
    const struct {
        std::string text, error;
    } cases[] = {
        {"", "empty, not a trace"},
        {"$var wire 1 ! LED $end\n", "no $enddefinitions"},
        {std::string("\177ELF\2\1\0\0", 8), "1: not text (control byte 0x7f)"},
        {HEADER + "#0\n0!\n#5\n1!\x01", "10: not text (control byte 0x01)"},
        {HEADER + "$comment caf\xe9 $end\n#0\n", "7: not UTF-8 text (byte 0xe9)"},
        {HEADER + "$comment \xea\xb8\xb0 $end\n#0\n0!\n#9\n#5\n1!\n", "11: time goes back from 9 to 5"},
        {HEADER + "#0\n1?\n", "8: change of undeclared identifier '?'"},
        {HEADER + "#0\nrabc \"\n", "8: bad real value 'rabc'"},
        {HEADER + "#0\nb1 \"\n", "8: bits for the real temp"},
        {HEADER + "#0\nb102 !\n", "8: bad value 'b102' for LED: 3 digits for 1 bits"},
        {HEADER + "#0\nr1 !\n", "8: a real for the bits of LED"},
        {HEADER + "#0\n#99999999999999999999\n", "8: bad time '#99999999999999999999'"},
        {HEADER + "#0\nb101\n", "8: value without identifier"},
        {HEADER + "#x\n", "7: bad time '#x'"},
        {HEADER + "#0\nnope\n", "8: not a value change: 'nope'"},
        {"$var wire x ! LED $end\n$enddefinitions $end\n", "1: bad width in $var (1 to 4096 bits)"},
        {"$scope module t\n", "2: $scope without $end"},
    };
    for (const auto& c : cases) {
        CVcdReader reader;
        std::string error;
        EXPECT_FALSE(reader.Parse(c.text, error)) << c.error;
        EXPECT_EQ(error, c.error);
    }
}

// A signed number keeps its sign, a fraction its fraction; an identifier shared by two variables changes both.
TEST(VcdReader, SignedRealsAndSharedIdentifiers)
{
    CVcdReader reader;
    std::string error;
    std::string text = HEADER + "#0\n0!\nr-3 \"\n#5\n1!\nr2.9 \"\n#8\n$comment x $end\nr-7 \"\n";
    text.insert(text.find("$upscope"), "$var wire 1 ! ALIAS $end\n");
    ASSERT_TRUE(reader.Parse(text, error)) << error;
    const CVcdReader::CVariable& temp = *reader.Find("t.temp");
    EXPECT_EQ(CVcdReader::Text(temp, CVcdReader::ValueAt(temp, 4)), "-3");
    EXPECT_EQ(CVcdReader::Text(temp, CVcdReader::ValueAt(temp, 5)), "2.9");
    EXPECT_EQ(CVcdReader::Text(temp, CVcdReader::ValueAt(temp, 100)), "-7");
    EXPECT_EQ(CVcdReader::ValueAt(*reader.Find("ALIAS"), 5), 1u);
    EXPECT_EQ(reader.Timescale(), "1ms");
}

// Only a regular file is read: a FIFO without a writer must not hang the reader.
TEST(VcdReader, ReadsOnlyARegularFileOfBoundedSize)
{
    const std::filesystem::path dir = testing::TempDir() + "vcd_reader_files";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    ASSERT_EQ(mkfifo((dir / "fifo").c_str(), 0600), 0);
    std::ofstream(dir / "huge.vcd").close();
    std::filesystem::resize_file(dir / "huge.vcd", CVcdReader::MAX_BYTES + 1);  // sparse: nothing is written
    std::ofstream(dir / "bad.vcd") << HEADER << "#0\n0!\nnope\n";
    const struct {
        std::string name, error;
    } cases[] = {
        {"missing.vcd", ": No such file or directory"}, {"", ": is a directory, not a trace"},
        {"fifo", ": not a regular file, not a trace"},  {"huge.vcd", ": larger than 2 GiB, too large a trace"},
        {"bad.vcd", ":9: not a value change: 'nope'"},
    };
    for (const auto& c : cases) {
        CVcdReader reader;
        std::string error;
        EXPECT_FALSE(reader.ParseFile((dir / c.name).string(), error));
        EXPECT_EQ(error, (dir / c.name).string() + c.error);
    }
    std::filesystem::remove_all(dir);
}

}  // namespace
