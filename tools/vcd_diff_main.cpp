// trelvik-vcd-diff A.vcd B.vcd [--slack MS] [--slack NAME=MS]... [--only NAME]... [--max N]:
// compares two traces variable by variable, matched by name, and prints where
// they part, in time order. Exit 0 the same, 1 different, 2 a usage or input error.

#include <cmath>
#include <iostream>
#include <string>
#include <vector>

#include "tools/vcd_diff_call.h"
#include "trace/trace_compare.h"
#include "trace/vcd_reader.h"
#include "trelvik_version.h"

namespace {

constexpr const char* USAGE =
    "usage: trelvik-vcd-diff A.vcd B.vcd [--slack MS] [--slack NAME=MS]... [--only NAME]... [--max N]\n";
constexpr const char* HELP =
    "Compares two traces (value-change dumps, such as trelvik-scenario --vcd\n"
    "writes) variable by variable, matched by name, and prints where they part,\n"
    "in time order: TIME ms: NAME A=1 B=0. Then the variables one trace has and\n"
    "the other lacks, and the edges that moved within the slack.\n"
    "\n"
    "  --slack MS       an edge moved by at most MS ms, either way, is no difference\n"
    "  --slack NAME=MS  the same for one variable (repeatable)\n"
    "  --only NAME      compares only this variable (repeatable)\n"
    "  --max N          prints at most N differences (default 20)\n"
    "  --help           this text\n"
    "  --version        the program's version\n"
    "\n"
    "Exit status: 0 the same; 1 different; 2 a usage or input error.\n";

int usage_error(const std::string& reason)
{
    std::cerr << "trelvik-vcd-diff: " << reason << "\n" << USAGE;
    return 2;
}

// A dump's time unit: the label of its ticks and how many make a ms.
struct CTimeUnit {
    std::string label = "ms";
    double ticksPerMs = 1;
};

bool time_unit(const std::string& timescale, CTimeUnit& unit)
{
    if (timescale.empty())
        return true;  // no $timescale: ours are in ms
    static const std::pair<const char*, double> UNITS[] = {{"fs", 1e-12}, {"ps", 1e-9}, {"ns", 1e-6},
                                                           {"us", 1e-3},  {"ms", 1},    {"s", 1e3}};
    const size_t digits = timescale.find_first_not_of("0123456789");
    if (digits == 0 || digits == std::string::npos)
        return false;
    const double count = std::stod(timescale.substr(0, digits));
    for (const auto& [name, ms] : UNITS)
        if (timescale.substr(digits) == name) {
            unit.label = count == 1 ? name : timescale;
            unit.ticksPerMs = 1 / (count * ms);
            return true;
        }
    return false;
}

uint64_t ticks(uint64_t ms, const CTimeUnit& unit) { return static_cast<uint64_t>(std::floor(ms * unit.ticksPerMs)); }

// Every name given must be one of the traces'; the valid ones are listed otherwise.
bool names_known(const CVcdReader& a, const CVcdReader& b, const CVcdDiffCall& call)
{
    std::vector<std::string> asked = call.only;
    for (const auto& [name, ms] : call.slackByName)
        asked.push_back(name);
    bool known = true;
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

void print(const CTraceCompare::CResult& result, const CVcdDiffCall& call, const CTimeUnit& unit)
{
    for (const CTraceCompare::CDivergence& d : result.divergences)
        std::cout << d.Text(unit.label) << "\n";
    if (result.divergenceCount > result.divergences.size())
        std::cout << "... and " << result.divergenceCount - result.divergences.size() << " more (--max N shows more)\n";
    print_names("only in " + call.fileA, result.onlyA);
    print_names("only in " + call.fileB, result.onlyB);
    if (result.endsDiffer)
        std::cout << call.fileA << " ends at " << result.endA << " " << unit.label << ", " << call.fileB << " at "
                  << result.endB << " " << unit.label << "\n";
    if (!result.moved.empty()) {
        std::cout << counted(result.MovedEdges(), "edge") << " moved by at most " << result.LargestMoveMs() << " "
                  << unit.label << ":";
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
    for (auto [dump, path] : {std::pair{&a, &call.fileA}, std::pair{&b, &call.fileB}})
        if (!dump->ParseFile(*path, error)) {
            std::cerr << error << "\n";
            return 2;
        }
    CTimeUnit unit;
    if (a.Timescale() != b.Timescale() || !time_unit(a.Timescale(), unit)) {
        std::cerr << "trelvik-vcd-diff: the time units do not compare: " << call.fileA << " has '" << a.Timescale()
                  << "', " << call.fileB << " '" << b.Timescale() << "'\n";
        return 2;
    }
    if (!names_known(a, b, call))
        return 2;
    CTraceCompare::COptions options;
    options.slack = ticks(call.slackMs.value_or(0), unit);
    for (const auto& [name, ms] : call.slackByName)
        options.slackByName[name] = ticks(ms, unit);
    options.only = call.only;
    options.keep = call.max;
    const CTraceCompare::CResult result = CTraceCompare::Compare(a, b, options);
    print(result, call, unit);
    return result.Same() ? 0 : 1;
}
