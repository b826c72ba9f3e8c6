#pragma once
// The mutants of the firmware known to be equivalent: no run can tell them
// from the firmware as written. A file of lines
// `FILE:LINE:COLUMN | REPLACEMENT | REASON`, `#` starting a comment, the one
// trelvik-mutate reads with --equivalents; the replacement is what stands
// between the first and the last `|`, so it may hold one itself (`a || b`).

#include <set>
#include <string>

#include "scenario/explore/mutant_build.h"

class CMutantEquivalents {
public:
    // The ids of the built mutants the file names; false with "FILE:N: why"
    // when it cannot be read or a line names none.
    static bool Read(const std::string& path, const CMutantBuild::CSwitch& mutants, std::set<int>& ids,
                     std::string& error);
};
