#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <random>

#include "trace/trace_compare.h"

// Two dumps read forward together compare as the same two held whole: the
// words cut anywhere by a small buffer, the changes handed on a small
// stretch at a time, with and without slack.
namespace {

// A random dump: wires, a vector with x and z, a real with fractions, and a
// wire that joins late; `twist` moves and alters some of its edges.
std::string random_dump(unsigned seed, bool twist)
{
    std::mt19937 random(seed);
    std::mt19937 twister(seed * 7 + 1);
    std::string vcd =
        "$timescale 1ms $end\n$scope module trelvik $end\n$var wire 1 ! W0 $end\n"
        "$var wire 1 \" W1 $end\n$var wire 4 # V $end\n$var real 64 $ r $end\n"
        "$var wire 1 % LATE $end\n$upscope $end\n$enddefinitions $end\n#0\n$dumpvars\n0!\n1\"\nb0 #\nr0 $\n$end\n";
    const char* vectors[] = {"b0", "b1x", "bz", "b1010", "bx"};
    uint64_t time = 0;
    for (int step = 0; step < 400; ++step) {
        time += 4 + random() % 5;  // an edge moved by 1 to 3 stays before the next
        const bool moved = twist && twister() % 9 == 0;
        vcd += "#" + std::to_string(time + (moved ? 1 + twister() % 3 : 0)) + "\n";
        const unsigned what = random() % 5;
        const unsigned value = random() % 5;
        const bool altered = twist && twister() % 23 == 0;
        if (what < 2)
            vcd += std::to_string((value + altered) % 2) + (what ? "\"" : "!") + "\n";
        else if (what == 2)
            vcd += std::string(vectors[(value + altered) % 5]) + " #\n";
        else if (what == 3)
            vcd += "r" + std::to_string((value + altered) * 0.25) + " $\n";
        else if (time > 800)
            vcd += std::to_string(value % 2) + "%\n";
    }
    return vcd;
}

std::string summary(const CTraceCompare::CResult& r)
{
    std::string text;
    for (const CTraceCompare::CDivergence& d : r.divergences)
        text += d.Text() + " (B " + std::to_string(d.lastChangeB) + ")\n";
    text += std::to_string(r.divergenceCount) + " in " + std::to_string(r.firstByName.size()) + "\n";
    for (const CTraceCompare::CMoved& m : r.moved)
        text += "moved " + m.name + " " + std::to_string(m.edges) + " by " + std::to_string(m.largestMs) + "\n";
    return text + std::to_string(r.endA) + " " + std::to_string(r.endB);
}

std::string written(const std::string& name, const std::string& text)
{
    const std::string path = ::testing::TempDir() + name;
    std::ofstream(path) << text;
    return path;
}

TEST(TraceStream, ComparesAsTheDumpsHeldWhole)
{
    bool diverged = false, moved = false;  // the cases do show both
    for (unsigned seed = 1; seed <= 12; ++seed) {
        const std::string textA = random_dump(seed, false), textB = random_dump(seed, seed % 4 != 0);
        const std::string pathA = written("a.vcd", textA), pathB = written("b.vcd", textB);
        for (uint64_t slack : {uint64_t{0}, uint64_t{2}, uint64_t{50}, UINT64_MAX}) {
            CTraceCompare::COptions options;
            options.slack = slack;
            options.keep = 5;
            CVcdReader wholeA, wholeB, a, b;
            std::string error;
            ASSERT_TRUE(wholeA.Parse(textA, error) && wholeB.Parse(textB, error)) << error;
            const std::string expected = summary(CTraceCompare::Compare(wholeA, wholeB, options));
            ASSERT_TRUE(a.Open(pathA, error, 7 + seed) && b.Open(pathB, error, 11)) << error;
            CTraceCompare::CResult result;
            ASSERT_TRUE(CTraceCompare::CompareStreams(a, b, options, result, error, 40 * seed)) << error;
            EXPECT_EQ(summary(result), expected) << "seed " << seed << ", slack " << slack;
            diverged |= result.divergenceCount > 0;
            moved |= !result.moved.empty();
        }
    }
    EXPECT_TRUE(diverged && moved);
}

TEST(TraceStream, RefusesWithTheLineWhereverTheBufferCuts)
{
    const std::string good = random_dump(3, false);
    const std::string path = written("bad.vcd", good + "#5000\nb10 #\n#4000\n");
    CVcdReader a, b;
    std::string error;
    ASSERT_TRUE(a.Open(path, error, 5) && b.Open(path, error, 9)) << error;
    CTraceCompare::CResult result;
    EXPECT_FALSE(CTraceCompare::CompareStreams(a, b, {}, result, error, 16));
    const auto lines = std::count(good.begin(), good.end(), '\n');
    EXPECT_EQ(error, path + ":" + std::to_string(lines + 3) + ": time goes back from 5000 to 4000");
}

// $dumpoff writes x for every variable, $dumpon and $dumpall their values
// again: x while dumping is off, and a value written again is no edge.
TEST(TraceStream, DumpOffIsXAndDumpAllRepeatsNoEdge)
{
    const auto dump = [](const char* off, const char* on) {
        return std::string(
                   "$timescale 1ns $end\n$var wire 1 ! w $end\n$var wire 4 # v $end\n$enddefinitions $end\n"
                   "#0\n$dumpvars\n0!\nb1 #\n$end\n#10\n$dumpoff\n") +
               off + "\n$end\n#20\n$dumpon\n" + on + "\n$end\n#30\n$dumpall\n" + on + "\n$end\n#40\n";
    };
    const struct {
        const char *offB, *onB;
        const char* expected;
    } cases[] = {
        {"x!\nbx #", "1!\nb10 #", "the same"},
        {"x!\nb0 #", "1!\nb10 #", "10 ns: v A=xxxx B=0 |"},
        {"x!\nbx #", "1!\nb11 #", "20 ns: v A=2 B=3 |"},
        {"0!\nbx #", "0!\nb10 #", "10 ns: w A=x B=0 | 20 ns: w A=1 B=0 |"},
    };
    const std::string pathA = written("dump_a.vcd", dump("x!\nbx #", "1!\nb10 #"));
    for (const auto& c : cases) {
        const std::string pathB = written("dump_b.vcd", dump(c.offB, c.onB));
        CVcdReader a, b;
        std::string error;
        ASSERT_TRUE(a.Open(pathA, error, 16) && b.Open(pathB, error, 16)) << error;
        a.ConvertTo(-9);
        b.ConvertTo(-9);
        CTraceCompare::CResult result;
        ASSERT_TRUE(CTraceCompare::CompareStreams(a, b, {}, result, error, 8)) << error;
        std::string text;
        for (const CTraceCompare::CDivergence& d : result.divergences)
            text += d.Text("ns") + " | ";
        EXPECT_EQ(result.Same() ? "the same" : text.substr(0, text.size() - 1), c.expected) << c.offB << c.onB;
    }
}

// Our writer leaves a late variable out of $dumpvars: before its first
// value it is not traced (neither 0 nor x).
TEST(TraceStream, AVariableIsNotTracedBeforeItJoins)
{
    CVcdReader reader;
    std::string error;
    ASSERT_TRUE(reader.Parse(random_dump(5, false), error)) << error;
    const CVcdReader::CVariable& late = *reader.Find("LATE");
    const uint64_t joined = late.changes.front().first;
    EXPECT_GT(joined, 800u);
    EXPECT_FALSE(CVcdReader::Traced(late, joined - 1));
    EXPECT_TRUE(CVcdReader::Traced(late, joined));
    EXPECT_TRUE(CVcdReader::Traced(*reader.Find("W0"), 0));
}

}  // namespace
