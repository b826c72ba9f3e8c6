#include "scenario/explore/mutant_equivalents.h"

#include <cerrno>
#include <cstring>
#include <fstream>

#include "cli/trimmed.h"

namespace {

const CMutant* mutant_at(const CMutantBuild::CSwitch& mutants, const std::string& where, const std::string& replacement)
{
    for (int i = 0; i < mutants.count; ++i) {
        const CMutant& m = mutants.mutants[i];
        if (replacement == m.replacement &&
            where == std::string(m.file) + ":" + std::to_string(m.line) + ":" + std::to_string(m.column))
            return &m;
    }
    return nullptr;
}

}  // namespace

bool CMutantEquivalents::Read(const std::string& path, const CMutantBuild::CSwitch& mutants, std::set<int>& ids,
                              std::string& error)
{
    std::ifstream in(path);
    if (!in) {
        error = path + ": " + std::strerror(errno);
        return false;
    }
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        const std::string text = trimmed(line);
        if (text.empty() || text[0] == '#')
            continue;
        const std::string at = path + ":" + std::to_string(number) + ": ";
        const size_t first = text.find('|'), last = text.rfind('|');
        if (first == std::string::npos || first == last || trimmed(text.substr(last + 1)).empty()) {
            error = at + "not FILE:LINE:COLUMN | REPLACEMENT | REASON";
            return false;
        }
        const std::string where = trimmed(text.substr(0, first));
        const std::string replacement = trimmed(text.substr(first + 1, last - first - 1));
        const CMutant* mutant = mutant_at(mutants, where, replacement);
        if (!mutant) {
            error = at + "no built mutant '" + replacement + "' at " + where;
            return false;
        }
        ids.insert(mutant->id);
    }
    return true;
}
