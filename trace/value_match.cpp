#include "trace/value_match.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <limits>

namespace {

using CVariable = CVcdReader::CVariable;

uint64_t bits_of(double real)
{
    if (std::isnan(real))
        real = std::numeric_limits<double>::quiet_NaN();
    return std::bit_cast<uint64_t>(real == 0 ? 0.0 : real);
}

// Digits extended on the left to the width: with x or z where they lead, else 0.
std::string extended(const std::string& digits, int width)
{
    if (digits.size() >= static_cast<size_t>(width))
        return digits;
    const char first = digits.empty() ? '0' : digits.front();
    return std::string(static_cast<size_t>(width) - digits.size(), first == 'x' || first == 'z' ? first : '0') + digits;
}

uint64_t number_of(const std::string& digits)
{
    uint64_t number = 0;
    for (char c : digits)
        number = (number << 1) | (c == '1' ? 1u : 0u);
    return number;
}

bool two_state(const std::string& digits) { return digits.find_first_of("xz") == std::string::npos; }

}  // namespace

CValueSpace::CValueSpace(const CVariable& a, const CVariable& b, const CTolerance& tolerance)
    : m_tolerance(tolerance), m_reals(a.real || b.real), m_width(std::max(a.width, b.width))
{
    if (!m_reals && m_width >= 64)
        Index(std::string(static_cast<size_t>(m_width), '0'));  // 0, as before a first change
}

uint64_t CValueSpace::Converted(const CVariable& var, uint64_t value)
{
    if (m_reals)
        return bits_of(var.values.RealOf(value, var.width, var.real));
    if (var.values.Coding() == CVcdValues::ECoding::NUMBER && m_width < 64)
        return value;
    const std::string digits = extended(var.values.Digits(value, var.width), m_width);
    if (m_width < 64 && two_state(digits))
        return number_of(digits);
    return (m_width < 64 ? LISTED : 0) + Index(digits);
}

uint64_t CValueSpace::Seen(uint64_t a, uint64_t b) const
{
    if (!m_reals || a == b)
        return b;
    return Near(std::bit_cast<double>(a), std::bit_cast<double>(b)) ? a : b;
}

std::string CValueSpace::Text(uint64_t value) const
{
    if (m_reals) {
        const double real = std::bit_cast<double>(value);
        if (std::isnan(real))
            return "NaN";
        if (std::trunc(real) == real && std::fabs(real) < 0x1p63)
            return std::to_string(static_cast<int64_t>(real));
        char text[32];
        const auto [end, ec] = std::to_chars(text, text + sizeof text, real);
        return ec == std::errc() ? std::string(text, end) : "?";
    }
    if (m_width < 64 && value < LISTED)
        return std::to_string(value);
    const std::string& digits = m_digits[m_width < 64 ? value - LISTED : value];
    if (m_width > 64 || !two_state(digits))
        return digits;
    return std::to_string(number_of(digits));
}

uint64_t CValueSpace::Index(const std::string& digits)
{
    const auto [found, added] = m_numbers.emplace(digits, m_digits.size());
    if (added)
        m_digits.push_back(digits);
    return found->second;
}

bool CValueSpace::Near(double x, double y) const
{
    if (x == y || (std::isnan(x) && std::isnan(y)))
        return true;
    const double bound = std::max(m_tolerance.absolute, m_tolerance.relative * std::max(std::fabs(x), std::fabs(y)));
    return std::fabs(x - y) <= bound;
}
