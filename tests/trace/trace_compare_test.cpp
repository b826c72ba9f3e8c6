#include <gtest/gtest.h>

#include <sstream>

#include "trace/trace_compare.h"

namespace {

// A dump in short: "RED_LED=0 temp=-3 | 100 RED_LED=1 | 250 temp=2 | #900": the
// variables with their values at 0 ("." none), then changes by time, and where it ends.
// A lower-case name is a real variable, an upper-case one a 1-bit wire.
CVcdReader dump(const std::string& shorthand, const std::string& scope = "trelvik")
{
    std::istringstream parts(shorthand);
    std::ostringstream vcd, changes;
    std::vector<std::string> names;
    vcd << "$timescale 1ms $end\n$scope module " << scope << " $end\n";
    bool header = true;
    for (std::string word; parts >> word;) {
        if (word == "|" || word[0] == '#') {
            header = false;
            changes << (word == "|" ? "" : word + "\n");
            continue;
        }
        if (!header && std::isdigit(word[0])) {
            changes << "#" << word << "\n";
            continue;
        }
        const std::string name = word.substr(0, word.find('='));
        const std::string value = word.substr(word.find('=') + 1);
        if (header) {
            names.push_back(name);
            vcd << (std::islower(name[0]) ? "$var real 64 " : "$var wire 1 ") << char('a' + names.size()) << " " << name
                << " $end\n";
        }
        const size_t id = std::find(names.begin(), names.end(), name) - names.begin() + 1;
        if (value == ".")
            continue;  // declared, but no value yet
        changes << (std::islower(name[0]) ? "r" + value + " " : value) << char('a' + id) << "\n";
    }
    vcd << "$upscope $end\n$enddefinitions $end\n#0\n" << changes.str();
    CVcdReader reader;
    std::string error;
    EXPECT_TRUE(reader.Parse(vcd.str(), error)) << error << "\n" << vcd.str();
    return reader;
}

// The result in lines: each divergence with B's last change, what one dump
// lacks, the moved edges, the ends.
CNameMap mapped(const std::string& pair)
{
    CNameMap map;
    std::string error;
    EXPECT_TRUE(map.Add(pair, error)) << error;
    return map;
}

std::string summary(const CTraceCompare::CResult& r)
{
    std::string text;
    for (const CTraceCompare::CDivergence& d : r.divergences)
        text += d.Text() + " (B " + std::to_string(d.lastChangeB) + ")\n";
    if (r.divergenceCount > r.divergences.size())
        text += "+" + std::to_string(r.divergenceCount - r.divergences.size()) + "\n";
    for (const std::string& name : r.onlyA)
        text += "only A " + name + "\n";
    for (const std::string& name : r.onlyB)
        text += "only B " + name + "\n";
    for (const CTraceCompare::CMoved& m : r.moved)
        text += "moved " + m.name + " " + std::to_string(m.edges) + " by " + std::to_string(m.largestMs) + "\n";
    if (r.endsDiffer)
        text += "ends " + std::to_string(r.endA) + " " + std::to_string(r.endB) + "\n";
    return text + (r.Same() ? "same" : "different");
}

TEST(TraceCompare, CasesByName)
{
    const struct {
        const char* what;
        const char* a;
        const char* b;
        CTraceCompare::COptions options;
        const char* expected;
    } cases[] = {
        {"same", "RED_LED=0 | 100 RED_LED=1 | 200 RED_LED=0", "RED_LED=0 | 100 RED_LED=1 | 200 RED_LED=0", {}, "same"},
        {"one edge later",
         "RED_LED=0 | 100 RED_LED=1 | 200 RED_LED=0 | #400",
         "RED_LED=0 | 100 RED_LED=1 | 300 RED_LED=0 | #400",
         {},
         "200 ms: RED_LED A=0 B=1 (B 100)\ndifferent"},
        {"initial values", "RED_LED=1", "RED_LED=0", {}, "0 ms: RED_LED A=1 B=0 (B 0)\ndifferent"},
        {"moved later within the slack",
         "RED_LED=0 | 100 RED_LED=1",
         "RED_LED=0 | 103 RED_LED=1",
         {3},
         "moved RED_LED 1 by 3\nsame"},
        {"moved earlier within the slack",
         "RED_LED=0 | 100 RED_LED=1 | #200",
         "RED_LED=0 | 97 RED_LED=1 | #200",
         {3},
         "moved RED_LED 1 by 3\nsame"},
        {"moved beyond the slack",
         "RED_LED=0 | 100 RED_LED=1 | #200",
         "RED_LED=0 | 103 RED_LED=1 | #200",
         {2},
         "100 ms: RED_LED A=1 B=0 (B 0)\ndifferent"},
        {"a pulse moved within the slack",
         "FAN=0 | 100 FAN=1 | 150 FAN=0",
         "FAN=0 | 102 FAN=1 | 152 FAN=0",
         {2},
         "moved FAN 2 by 2\nsame"},
        {"a glitch in A only",
         "FAN=0 | 100 FAN=1 | 101 FAN=0",
         "FAN=0 | #101",
         {5},
         "100 ms: FAN A=1 B=0 (B 0)\ndifferent"},
        {"a slack by name",
         "FAN=0 LED=0 | 100 FAN=1 LED=1 | #200",
         "FAN=0 LED=0 | 103 FAN=1 LED=1 | #200",
         {0, {{"LED", 3}}},
         "100 ms: FAN A=1 B=0 (B 0)\nmoved LED 1 by 3\ndifferent"},
        {"a slack by full name, under the global one",
         "FAN=0 LED=0 | 100 FAN=1 LED=1 | #200",
         "FAN=0 LED=0 | 103 FAN=1 LED=1 | #200",
         {5, {{"trelvik.FAN", 1}}},
         "100 ms: FAN A=1 B=0 (B 0)\nmoved LED 1 by 3\ndifferent"},
        {"one variable only in each",
         "LED=0 FAN=0 | 10 FAN=1",
         "LED=0 HEATER=1 | #10",
         {},
         "only A FAN\nonly B HEATER\ndifferent"},
        {"numbers",
         "run_sec=0 | 1000 run_sec=1 | 2000 run_sec=2 | #3000",
         "run_sec=0 | 1000 run_sec=1 | 2500 run_sec=2 | #3000",
         {},
         "2000 ms: run_sec A=2 B=1 (B 1000)\ndifferent"},
        {"signed numbers",
         "temp=-3 | 10 temp=-4 | 20 temp=1",
         "temp=-3 | 10 temp=-5 | 20 temp=1",
         {},
         "10 ms: temp A=-4 B=-5 (B 10)\ndifferent"},
        {"time order across variables, ties in A's order",
         "FAN=0 LED=0 | 30 LED=1 | 50 FAN=1 LED=0",
         "FAN=0 LED=0 | #50",
         {},
         "30 ms: LED A=1 B=0 (B 0)\n50 ms: FAN A=1 B=0 (B 0)\ndifferent"},
        {"a value written again is no edge", "LED=0 | 100 LED=0 | 200 LED=1", "LED=0 | 200 LED=1", {}, "same"},
        {"only the names asked for", "FAN=0 LED=0 | 10 LED=1", "FAN=0 LED=0 HEATER=0 | #10", {0, {}, {"FAN"}}, "same"},
        {"the ends apart", "LED=0 | #1000", "LED=0 | #1200", {}, "ends 1000 1200\ndifferent"},
        {"the ends within the slack", "LED=0 | #1000", "LED=0 | #1002", {2}, "same"},
        {"x is no 0, z no x",
         "LED=0 | 10 LED=x | 20 LED=z",
         "LED=0 | 20 LED=x",
         {},
         "10 ms: LED A=x B=0 (B 0)\n20 ms: LED A=z B=x (B 20)\ndifferent"},
        {"reals as reals",
         "temp=0.2 | 10 temp=3",
         "temp=0.9 | 10 temp=3",
         {},
         "0 ms: temp A=0.2 B=0.9 (B 0)\ndifferent"},
        {"reals within a relative tolerance",
         "temp=100 | 10 temp=100.5",
         "temp=100 | 10 temp=100.9",
         {0, {}, {}, SIZE_MAX, {0, 0.01}},
         "same"},
        {"reals beyond an absolute tolerance",
         "temp=1 | 10 temp=1.5",
         "temp=1 | 10 temp=1.7",
         {0, {}, {}, SIZE_MAX, {0.1, 0}},
         "10 ms: temp A=1.5 B=1.7 (B 10)\ndifferent"},
        {"the first kept, all counted",
         "n=0 | 1 n=1 | 2 n=2 | 3 n=3 | 4 n=4",
         "n=0 | #4",
         {0, {}, {}, 2},
         "1 ms: n A=1 B=0 (B 0)\n2 ms: n A=2 B=0 (B 0)\n+2\ndifferent"},
        {"a variable joined late is compared from then on, not before",
         "LED=1 | 100 LED=0 | 150 LED=1 | 200 LED=0",
         "LED=. | 150 LED=0 | 200 LED=0",
         {},
         "150 ms: LED A=1 B=0 (B 150)\ndifferent"},
        {"names paired by a map",
         "LED=0 | 10 LED=1",
         "LAMP=0 | 10 LAMP=1",
         {0, {}, {}, SIZE_MAX, {}, mapped("LED=LAMP")},
         "same"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(summary(CTraceCompare::Compare(dump(c.a), dump(c.b), c.options)), c.expected) << c.what;
}

// Scopes and identifiers differ; the names match. The runner's report: the
// first divergence, then one per variable.
TEST(TraceCompare, MatchedByNameAndReportedOnePerName)
{
    const CVcdReader a = dump("A=0 B=0 C=0 D=0 | 10 A=1 | 20 A=0 B=1 | 30 C=1 | 40 D=1", "trelvik.ports");
    const CVcdReader b = dump("D=0 C=0 B=0 A=0 | #40", "elsewhere");
    const CTraceCompare::CResult r = CTraceCompare::Compare(a, b, {});
    EXPECT_EQ(r.divergenceCount, 4u);
    std::string names;
    for (const CTraceCompare::CDivergence& d : r.FirstAndOnePerName(2))
        names += d.name + "@" + std::to_string(d.timeMs) + " ";
    EXPECT_EQ(names, "A@10 B@20 C@30 ");
    EXPECT_EQ(CTraceCompare::Names(a), (std::vector<std::string>{"A", "B", "C", "D"}));
    EXPECT_TRUE(CTraceCompare::Has(a, "trelvik.ports.C"));
    EXPECT_FALSE(CTraceCompare::Has(a, "elsewhere.C"));
}

}  // namespace
