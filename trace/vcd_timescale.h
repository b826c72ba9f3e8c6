#pragma once
// Time units of value-change dumps. A $timescale is 1, 10 or 100 of s, ms,
// us, ns, ps or fs; two dumps are compared in the finer of their two named
// units (s, ms, ... fs), into which every time of either converts exactly:
// 10 ps ticks become ps ten at a time. A duration given by a person
// ("5us", "2ms", "3"; a bare number is ms) converts to ticks of a unit,
// rounded down, and saturates rather than overflows. Standard C++ only.

#include <cstdint>
#include <string>
#include <string_view>

class CTimescale {
public:
    // Ours: the dumps without a $timescale are in ms.
    CTimescale() = default;
    // "1ms", "10 ps", "100s" (the words of a $timescale joined or not); false if none.
    static bool Parse(std::string_view text, CTimescale& scale);

    // The power of ten of a second that one tick is: -3 for 1 ms, -11 for 10 ps.
    int Exponent() const { return m_exponent; }
    // The named unit a tick is counted in: -3 for 1 ms and 100 ms, -12 for 10 ps.
    int UnitExponent() const;
    // The finer named unit of two scales, the one both convert to.
    static int CommonUnit(const CTimescale& a, const CTimescale& b);
    // How many ticks of the named unit one tick of this scale is (10 for 10 ps in ps).
    uint64_t TicksIn(int unitExponent) const;

    static uint64_t PowerOfTen(int exponent);
    // "ms", "ps": the name of a named unit's exponent; empty for none.
    static std::string UnitName(int unitExponent);

private:
    int m_exponent = -3;
};

// A length of time as a person writes it: a whole number and a unit.
class CDuration {
public:
    // "5us", "2 ms", "3" (ms); false for anything else.
    static bool Parse(std::string_view text, CDuration& duration);
    // In ticks of the named unit, rounded down; UINT64_MAX when larger.
    uint64_t Ticks(int unitExponent) const;

private:
    uint64_t m_count = 0;
    int m_exponent = -3;
};
