#include "scenario/explore/mutant_build.h"

#include <string>

namespace {
CMutantBuild::CSwitch g_switch{};
bool g_registered = false;
}  // namespace

bool CMutantBuild::Register(const CSwitch& mutantSwitch)
{
    g_switch = mutantSwitch;
    g_registered = true;
    return true;
}

const CMutantBuild::CSwitch* CMutantBuild::Switch() { return g_registered ? &g_switch : nullptr; }

std::string CMutantBuild::Name(const CMutant& mutant)
{
    return std::string(mutant.file) + ":" + std::to_string(mutant.line) + " " + mutant.change + " (mutant " +
           std::to_string(mutant.id) + ")";
}
