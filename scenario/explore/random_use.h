#pragma once
// A seeded random use of the panel, written as the steps of a scenario, one
// per line: clicks on the keys, the cover, the drawer and elsewhere, quick
// and held; two clicks in a row; "Reset CPU"; plant faults set and cleared;
// waits between them. One seed always gives the same lines.

#include <cstdint>
#include <string>
#include <vector>

class CRandomUse {
public:
    static std::vector<std::string> Lines(uint64_t seed);
};
