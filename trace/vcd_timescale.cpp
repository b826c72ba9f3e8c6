#include "trace/vcd_timescale.h"

#include <algorithm>
#include <charconv>

namespace {

struct CUnit {
    const char* name;
    int exponent;
};
constexpr CUnit UNITS[] = {{"s", 0}, {"ms", -3}, {"us", -6}, {"ns", -9}, {"ps", -12}, {"fs", -15}};
constexpr int FINEST = -15;

bool unit_exponent(std::string_view name, int& exponent)
{
    for (const CUnit& unit : UNITS)
        if (name == unit.name) {
            exponent = unit.exponent;
            return true;
        }
    return false;
}

// A whole number followed by a unit, blanks allowed between; the unit may be missing.
bool number_and_unit(std::string_view text, uint64_t& count, std::string_view& unit)
{
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), count);
    if (ec != std::errc() || end == text.data())
        return false;
    unit = text.substr(static_cast<size_t>(end - text.data()));
    while (!unit.empty() && (unit.front() == ' ' || unit.front() == '\t'))
        unit.remove_prefix(1);
    return true;
}

}  // namespace

bool CTimescale::Parse(std::string_view text, CTimescale& scale)
{
    uint64_t count = 0;
    std::string_view unit;
    int exponent = 0;
    if (!number_and_unit(text, count, unit) || !unit_exponent(unit, exponent))
        return false;
    const int extra = count == 1 ? 0 : count == 10 ? 1 : count == 100 ? 2 : -1;
    if (extra < 0)
        return false;
    scale.m_exponent = exponent + extra;
    return true;
}

int CTimescale::UnitExponent() const
{
    const int below = (m_exponent - FINEST) % 3;
    return m_exponent - below;
}

int CTimescale::CommonUnit(const CTimescale& a, const CTimescale& b)
{
    return std::min(a.UnitExponent(), b.UnitExponent());
}

uint64_t CTimescale::TicksIn(int unitExponent) const { return CTimescale::PowerOfTen(m_exponent - unitExponent); }

uint64_t CTimescale::PowerOfTen(int exponent)
{
    uint64_t power = 1;
    for (int i = 0; i < exponent; ++i)
        power *= 10;
    return power;
}

std::string CTimescale::UnitName(int unitExponent)
{
    for (const CUnit& unit : UNITS)
        if (unit.exponent == unitExponent)
            return unit.name;
    return {};
}

bool CDuration::Parse(std::string_view text, CDuration& duration)
{
    std::string_view unit;
    if (!number_and_unit(text, duration.m_count, unit))
        return false;
    duration.m_exponent = -3;
    return unit.empty() || unit_exponent(unit, duration.m_exponent);
}

uint64_t CDuration::Ticks(int unitExponent) const
{
    if (m_exponent < unitExponent)
        return m_count / CTimescale::PowerOfTen(unitExponent - m_exponent);
    uint64_t ticks = m_count;
    for (int i = unitExponent; i < m_exponent; ++i) {
        if (ticks > UINT64_MAX / 10)
            return UINT64_MAX;
        ticks *= 10;
    }
    return ticks;
}
