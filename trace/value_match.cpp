#include "trace/value_match.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <limits>

namespace {

using CVariable = CVcdReader::CVariable;

bool plain(const CVariable& var) { return var.values.Coding() == CVcdValues::ECoding::NUMBER; }

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

}  // namespace

CValueMatch::CValueMatch(const CVariable& a, const CVariable& b, const CTolerance& tolerance)
    : m_a(a), m_b(b), m_tolerance(tolerance)
{
    m_plain = plain(a) && plain(b) && a.real == b.real && !(a.real && (tolerance.absolute || tolerance.relative));
    if (m_plain)
        return;
    m_reals = a.real || b.real;
    m_width = std::max(a.width, b.width);
    m_numbers.emplace(std::string(static_cast<size_t>(m_width), '0'), 0);  // 0, as before a first change
    m_digits.push_back(std::string(static_cast<size_t>(m_width), '0'));
    m_changesA = Converted(a);
    m_changesB = Converted(b);
}

CValueMatch::CChanges CValueMatch::Converted(const CVariable& var)
{
    CChanges changes = var.changes;
    for (auto& [time, value] : changes) {
        if (m_reals) {
            value = bits_of(var.values.RealOf(value, var.width, var.real));
            continue;
        }
        const auto [found, added] =
            m_numbers.emplace(extended(var.values.Digits(value, var.width), m_width), m_digits.size());
        if (added)
            m_digits.push_back(found->first);
        value = found->second;
    }
    return changes;
}

bool CValueMatch::Near(double x, double y) const
{
    if (x == y || (std::isnan(x) && std::isnan(y)))
        return true;
    const double bound = std::max(m_tolerance.absolute, m_tolerance.relative * std::max(std::fabs(x), std::fabs(y)));
    return std::fabs(x - y) <= bound;
}

uint64_t CValueMatch::Seen(uint64_t a, uint64_t b) const
{
    if (!m_reals || a == b)
        return b;
    return Near(std::bit_cast<double>(a), std::bit_cast<double>(b)) ? a : b;
}

std::string CValueMatch::Text(uint64_t value) const
{
    if (m_plain)
        return CVcdReader::Text(m_a, value);
    if (m_reals) {
        const double real = std::bit_cast<double>(value);
        if (std::isnan(real))
            return "NaN";
        char text[32];
        const auto [end, ec] = std::to_chars(text, text + sizeof text, real);
        return ec == std::errc() ? std::string(text, end) : "?";
    }
    const std::string& digits = m_digits[value];
    if (m_width > 64 || digits.find_first_of("xz") != std::string::npos)
        return digits;
    uint64_t number = 0;
    for (char c : digits)
        number = (number << 1) | (c == '1' ? 1u : 0u);
    return std::to_string(number);
}
