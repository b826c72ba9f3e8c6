// trelvik-vcd-diff A.vcd B.vcd [--slack TIME] [--slack NAME=TIME]... [--only NAME]... [--max N]
// [--tolerance REAL[%]] [--map A=B | --map FILE]...: compares two traces variable by variable, matched by
// name, in the finer of their time units, and prints where they part, in
// time order. The two are read forward together, files or pipes ("-" for
// stdin), so that only a stretch of each is held. Exit 0 the same, 1
// different, 2 a usage or input error.

#include <iostream>
#include <string>
#include <tuple>
#include <vector>

#include "tools/vcd_diff_call.h"
#include "trace/trace_compare.h"
#include "trace/vcd_reader.h"
#include "trelvik_version.h"

namespace {

constexpr const char* USAGE =
    "usage: trelvik-vcd-diff A.vcd B.vcd [--slack TIME] [--slack NAME=TIME]... [--only NAME]... [--max N]\n"
    "                        [--tolerance REAL[%]] [--map A=B | --map FILE]...\n";
constexpr const char* HELP =
    "Compares two traces (value-change dumps, such as trelvik-scenario --vcd\n"
    "writes, or any other writer's) variable by variable, matched by name, and\n"
    "prints where they part, in time order: TIME ms: NAME A=1 B=0, in the finer\n"
    "of the two time units. Then the variables one trace has and the other\n"
    "lacks, and the edges that moved within the slack. Values have four states\n"
    "(0, 1, x, z); reals compare as reals. A trace may be a pipe, or '-' for\n"
    "stdin: the two are read forward together, never held whole.\n"
    "\n"
    "  --slack TIME       an edge moved by at most TIME (5us, 2ms; ms when no unit),\n"
    "                     either way, is no difference\n"
    "  --slack NAME=TIME  the same for one variable (repeatable)\n"
    "  --only NAME        compares only this variable (repeatable)\n"
    "  --max N            prints at most N differences (default 20)\n"
    "  --tolerance REAL   reals at most REAL apart are the same; REAL% of the larger\n"
    "  --map A=B          holds A's variable A against B's variable B (repeatable)\n"
    "  --map FILE         the same for each line A=B of FILE ('#' begins a comment)\n"
    "  --help             this text\n"
    "  --version          the program's version\n"
    "\n"
    "Exit status: 0 the same; 1 different; 2 a usage or input error.\n";

int usage_error(const std::string& reason)
{
    std::cerr << "trelvik-vcd-diff: " << reason << "\n" << USAGE;
    return 2;
}

// Every name given must be one of the traces'; the valid ones are listed otherwise.
bool names_known(const CVcdReader& a, const CVcdReader& b, const CVcdDiffCall& call)
{
    std::vector<std::string> asked = call.only;
    for (const auto& [name, ms] : call.slackByName)
        asked.push_back(name);
    bool known = true;
    for (const auto& [nameA, nameB] : call.map.Pairs())
        for (const auto& [name, dump, file] : {std::tuple{nameA, &a, &call.fileA}, std::tuple{nameB, &b, &call.fileB}})
            if (!CTraceCompare::Has(*dump, name)) {
                std::cerr << "trelvik-vcd-diff: --map: unknown variable '" << name << "': " << *file
                          << " has no such variable\n";
                known = false;
            }
    for (const std::string& name : asked)
        if (!CTraceCompare::Has(a, name) && !CTraceCompare::Has(b, name)) {
            std::cerr << "trelvik-vcd-diff: unknown variable '" << name << "': neither trace has it\n";
            known = false;
        }
    if (!known) {
        std::cerr << "valid names:";
        std::vector<std::string> names = CTraceCompare::Names(a);
        for (const std::string& name : CTraceCompare::Names(b))
            if (!CTraceCompare::Has(a, name))
                names.push_back(name);
        for (const std::string& name : names)
            std::cerr << " " << name;
        std::cerr << "\n";
    }
    return known;
}

std::string counted(uint64_t count, const std::string& noun)
{
    return std::to_string(count) + " " + noun + (count == 1 ? "" : "s");
}

void print_names(const std::string& label, const std::vector<std::string>& names)
{
    if (names.empty())
        return;
    std::cout << label << ":";
    for (const std::string& name : names)
        std::cout << " " << name;
    std::cout << "\n";
}

void print(const CTraceCompare::CResult& result, const CVcdDiffCall& call, const std::string& unit)
{
    for (const CTraceCompare::CDivergence& d : result.divergences)
        std::cout << d.Text(unit) << "\n";
    if (result.divergenceCount > result.divergences.size())
        std::cout << "... and " << result.divergenceCount - result.divergences.size() << " more (--max N shows more)\n";
    print_names("only in " + call.fileA, result.onlyA);
    print_names("only in " + call.fileB, result.onlyB);
    if (result.endsDiffer)
        std::cout << call.fileA << " ends at " << result.endA << " " << unit << ", " << call.fileB << " at "
                  << result.endB << " " << unit << "\n";
    if (!result.moved.empty()) {
        std::cout << counted(result.MovedEdges(), "edge") << " moved by at most " << result.LargestMoveMs() << " "
                  << unit << ":";
        for (size_t i = 0; i < result.moved.size(); ++i)
            std::cout << (i ? ", " : " ") << result.moved[i].name << " " << result.moved[i].edges;
        std::cout << "\n";
    }
    if (result.Same())
        std::cout << "the same\n";
    else
        std::cout << "different: " << counted(result.divergenceCount, "divergence") << " in "
                  << counted(result.firstByName.size(), "variable") << "\n";
}

// Both traces opened and their declarations read, their times to come in
// the finer of their units; what was skipped is told on stderr.
bool open_both(const CVcdDiffCall& call, CVcdReader& a, CVcdReader& b, int& unit)
{
    std::string error;
    for (auto [dump, path] : {std::pair{&a, &call.fileA}, std::pair{&b, &call.fileB}}) {
        if (!dump->Open(*path, error)) {
            std::cerr << error << "\n";
            return false;
        }
        for (const std::string& warning : dump->Warnings())
            std::cerr << *path << ":" << warning << " (warning)\n";
    }
    unit = CTimescale::CommonUnit(a.Scale(), b.Scale());
    a.ConvertTo(unit);
    b.ConvertTo(unit);
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    CVcdDiffCall call;
    std::string error;
    if (!call.Parse(std::vector<std::string>(argv + 1, argv + argc), error))
        return usage_error(error);
    if (call.help) {
        std::cout << USAGE << "\n" << HELP;
        return 0;
    }
    if (call.version) {
        std::cout << "trelvik-vcd-diff " TRELVIK_VERSION "\n";
        return 0;
    }
    CVcdReader a, b;
    int unit = 0;
    if (!open_both(call, a, b, unit))
        return 2;
    if (!names_known(a, b, call))
        return 2;
    CTraceCompare::COptions options;
    options.slack = call.slack.value_or(CDuration()).Ticks(unit);
    for (const auto& [name, slack] : call.slackByName)
        options.slackByName[name] = slack.Ticks(unit);
    options.only = call.only;
    options.keep = call.max;
    options.tolerance = call.tolerance;
    options.map = call.map;
    CTraceCompare::CResult result;
    if (!CTraceCompare::CompareStreams(a, b, options, result, error)) {
        std::cerr << error << "\n";
        return 2;
    }
    print(result, call, CTimescale::UnitName(unit));
    return result.Same() ? 0 : 1;
}
