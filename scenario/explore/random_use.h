#pragma once
// A seeded random use of the panel, written as the steps of a scenario, one
// per line: clicks on the keys, the cover, the drawer and elsewhere, quick
// and held; two clicks in a row; "Reset CPU"; plant faults set and cleared;
// waits between them. One seed always gives the same lines.

#include <cstdint>
#include <random>
#include <string>
#include <vector>

// Seeded choices, the same on every platform's standard library for a seed
// (mt19937_64's sequence is fixed; the uniform draw is libstdc++'s).
class CPicker {
public:
    explicit CPicker(uint64_t seed) : m_random(seed) {}
    uint64_t operator()(uint64_t lo, uint64_t hi) { return std::uniform_int_distribution<uint64_t>(lo, hi)(m_random); }

private:
    std::mt19937_64 m_random;
};

class CRandomUse {
public:
    // The inputs by name, and places beside them and on the panel's other parts.
    static constexpr int TARGET_COUNT = 9;
    static const char* const TARGETS[TARGET_COUNT];

    // A whole use, from a fresh controller: 60 to 180 s of play, then 6 s of rest.
    static std::vector<std::string> Lines(uint64_t seed);
    // Further steps for about playMs, to follow a use already played.
    static std::vector<std::string> More(CPicker& pick, uint64_t playMs);

private:
    static void Play(CPicker& pick, std::vector<std::string>& lines, uint64_t t, uint64_t playMs);
};
