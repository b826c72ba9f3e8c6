#pragma once
// How one variable of a value-change dump holds its values. Most dumps, ours
// among them, hold two-state bits of at most 64 and whole reals: each value
// is then the number itself (a negative real as its two's complement), cheap
// to hold and to compare. A variable that receives anything else switches
// once, its earlier values converted:
//   - a real with a fraction, beyond 64 bits, infinite or NaN: every value
//     is then a double's bits (-0 held as 0, every NaN as one NaN);
//   - bits with x or z, or more than 64 of them: every value is then the
//     index of its digits, as many as the width ("xxxxxxxz"), in a list of
//     the variable's own.
// Digits shorter than the width are extended on the left as the dump format
// says: with x for a leading x, z for a leading z, 0 otherwise. Standard C++
// only.

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

class CVcdValues {
public:
    enum class ECoding : uint8_t { NUMBER, REAL, DIGITS };
    using CChanges = std::vector<std::pair<uint64_t, uint64_t>>;  // (time, value)

    static constexpr int MAX_WIDTH = 4096;

    // Digits of bits ("0x1", the "b" left off) for a variable of `width`
    // bits; `changes` are converted if the coding switches. False with the reason.
    bool Bits(std::string_view digits, int width, CChanges& changes, uint64_t& value, std::string& error);
    // A real's text ("-2.5", "1e+20", "NaN", "inf"). False with the reason.
    bool Real(std::string_view text, CChanges& changes, uint64_t& value, std::string& error);

    ECoding Coding() const { return m_coding; }
    // A value as text: a number of bits or a real in decimal, digits where x or z are among them.
    std::string Text(uint64_t value, int width, bool real) const;
    // A value's digits, as many as the width.
    std::string Digits(uint64_t value, int width) const;
    // A value as a real; bits with x or z are NaN.
    double RealOf(uint64_t value, int width, bool real) const;

private:
    uint64_t Index(const std::string& digits);

    ECoding m_coding = ECoding::NUMBER;
    std::vector<std::string> m_digits;  // by index, while DIGITS
    std::unordered_map<std::string, uint64_t> m_index;
};
