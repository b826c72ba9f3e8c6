#include "trace/vcd_value.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace {

// A digit as one of 0, 1, x and z: upper case read as lower, the strengths
// some writers use as their level (h 1, l 0), the unknown ones as x.
char lower(char c)
{
    c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    return c == 'h' ? '1' : c == 'l' ? '0' : c == 'u' || c == 'w' || c == '-' ? 'x' : c;
}

// The width's digits, extended on the left; false for a digit of no bit.
bool full_digits(std::string_view digits, int width, std::string& full, std::string& error)
{
    if (digits.size() > static_cast<size_t>(width)) {
        error = std::to_string(digits.size()) + " digits for " + std::to_string(width) + " bits";
        return false;
    }
    const char first = lower(digits.empty() ? '0' : digits.front());
    full.assign(static_cast<size_t>(width) - digits.size(), first == 'x' || first == 'z' ? first : '0');
    for (char c : digits) {
        c = lower(c);
        if (c != '0' && c != '1' && c != 'x' && c != 'z') {
            error = std::string("no bit '") + c + "'";
            return false;
        }
        full += c;
    }
    return true;
}

// Digits of 0 and 1 only, as a number.
bool plain_number(std::string_view digits, uint64_t& value)
{
    uint64_t number = 0;
    for (char c : digits) {
        if (c != '0' && c != '1')
            return false;
        number = (number << 1) | static_cast<uint64_t>(c - '0');
    }
    value = number;
    return true;
}

bool two_state(const std::string& digits) { return digits.find_first_of("xz") == std::string::npos; }

uint64_t number_of(const std::string& digits)
{
    uint64_t value = 0;
    for (char c : digits)
        value = (value << 1) | (c == '1' ? 1u : 0u);
    return value;
}

std::string digits_of(uint64_t value, int width)
{
    std::string digits(static_cast<size_t>(width), '0');
    for (int i = 0; i < width && i < 64; ++i)
        digits[static_cast<size_t>(width - 1 - i)] = (value >> i) & 1 ? '1' : '0';
    return digits;
}

uint64_t bits_of(double real)
{
    if (std::isnan(real))
        real = std::numeric_limits<double>::quiet_NaN();
    return std::bit_cast<uint64_t>(real == 0 ? 0.0 : real);
}

// Whether a real is held as a whole number: whole and within 63 bits.
bool whole(double real) { return std::isfinite(real) && std::trunc(real) == real && std::fabs(real) < 0x1p63; }

}  // namespace

uint64_t CVcdValues::Index(const std::string& digits)
{
    const auto [found, added] = m_index.emplace(digits, m_digits.size());
    if (added)
        m_digits.push_back(digits);
    return found->second;
}

bool CVcdValues::Bits(std::string_view digits, int width, CChanges& changes, uint64_t& value, std::string& error)
{
    if (m_coding == ECoding::NUMBER && width <= 64 && digits.size() <= static_cast<size_t>(width) &&
        plain_number(digits, value))
        return true;  // ours: two-state, extended with 0
    std::string full;
    if (!full_digits(digits, width, full, error))
        return false;
    if (m_coding == ECoding::NUMBER && width <= 64 && two_state(full)) {
        value = number_of(full);
        return true;
    }
    if (m_coding == ECoding::NUMBER) {
        m_coding = ECoding::DIGITS;
        Index(digits_of(0, width));  // 0, as before a first change
        for (auto& change : changes)
            change.second = Index(digits_of(change.second, width));
    }
    value = Index(full);
    return true;
}

bool CVcdValues::Real(std::string_view text, CChanges& changes, uint64_t& value, std::string& error)
{
    if (m_coding == ECoding::NUMBER) {  // most: a whole number of at most 18 digits, read as it is
        const bool negative = !text.empty() && text[0] == '-';
        const std::string_view digits = text.substr(negative ? 1 : 0);
        int64_t number = 0;
        bool plain = !digits.empty() && digits.size() <= 18;
        for (size_t i = 0; plain && i < digits.size(); ++i) {
            plain = digits[i] >= '0' && digits[i] <= '9';
            number = number * 10 + (digits[i] - '0');
        }
        if (plain) {
            value = static_cast<uint64_t>(negative ? -number : number);
            return true;
        }
    }
    double real = 0;
    const std::string_view lowered = text == "NaN" || text == "nan" ? "nan" : text;
    const auto [end, ec] = std::from_chars(lowered.data(), lowered.data() + lowered.size(), real);
    if (end != lowered.data() + lowered.size() || lowered.empty() ||
        (ec != std::errc() && ec != std::errc::result_out_of_range)) {
        error = "bad real value 'r" + std::string(text) + "'";
        return false;
    }
    if (ec == std::errc::result_out_of_range)  // too large or too small: infinite or 0, as strtod says
        real = std::strtod(std::string(text).c_str(), nullptr);
    if (m_coding == ECoding::NUMBER && whole(real)) {
        value = static_cast<uint64_t>(static_cast<int64_t>(real));
        return true;
    }
    if (m_coding == ECoding::NUMBER) {
        m_coding = ECoding::REAL;
        for (auto& change : changes)
            change.second = bits_of(static_cast<double>(static_cast<int64_t>(change.second)));
    }
    value = bits_of(real);
    return true;
}

std::string CVcdValues::Digits(uint64_t value, int width) const
{
    return m_coding == ECoding::DIGITS && value < m_digits.size() ? m_digits[value] : digits_of(value, width);
}

double CVcdValues::RealOf(uint64_t value, int width, bool real) const
{
    if (m_coding == ECoding::REAL)
        return std::bit_cast<double>(value);
    if (real)
        return static_cast<double>(static_cast<int64_t>(value));
    const std::string digits = Digits(value, width);
    if (!two_state(digits))
        return std::numeric_limits<double>::quiet_NaN();
    double number = 0;
    for (char c : digits)
        number = number * 2 + (c == '1');
    return number;
}

std::string CVcdValues::Text(uint64_t value, int width, bool real) const
{
    if (m_coding == ECoding::REAL) {
        const double number = std::bit_cast<double>(value);
        if (std::isnan(number))
            return "NaN";
        char text[32];
        const auto [end, ec] = std::to_chars(text, text + sizeof text, number);
        return ec == std::errc() ? std::string(text, end) : "?";
    }
    if (real)
        return std::to_string(static_cast<int64_t>(value));
    if (m_coding == ECoding::NUMBER)
        return std::to_string(value);
    const std::string& digits = Digits(value, width);
    if (width > 64 || !two_state(digits))
        return digits;
    return std::to_string(number_of(digits));
}
