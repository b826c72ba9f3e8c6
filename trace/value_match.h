#pragma once
// The values of two namesakes, A's and B's, brought into one space in which
// equal numbers are equal values, so the comparison of edges stays a
// comparison of numbers. The space is set by the two declarations, and each
// value is brought in as it is read, in its variable's coding of the moment
// (trace/vcd_value.h): reals, or a real against bits, as a double's bits;
// bits up to 63 as their number, those with x or z numbered from 2^63 in a
// list; wider bits all numbered in the list, 0 first. Digits are extended on
// the left to the wider width as the dump format says. Reals may be the same
// within a tolerance. Standard C++ only.

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "trace/vcd_reader.h"

// How far two reals may be apart and still be the same: within the absolute
// or within the relative bound, whichever is larger. Both 0: exactly.
struct CTolerance {
    double absolute = 0;
    double relative = 0;  // of the larger magnitude
};

class CValueSpace {
public:
    CValueSpace(const CVcdReader::CVariable& a, const CVcdReader::CVariable& b, const CTolerance& tolerance);

    // A value of either, as its variable holds it now, in the space.
    uint64_t Of(const CVcdReader::CVariable& var, uint64_t value)
    {
        if (!m_reals && m_width < 64 && var.values.Coding() == CVcdValues::ECoding::NUMBER)
            return value;  // most: two-state bits, as they are
        return Converted(var, value);
    }
    // B's value as held against A's: A's own where the two are the same within the tolerance.
    uint64_t Seen(uint64_t a, uint64_t b) const;
    // A value of the space as text: a whole real as a whole number.
    std::string Text(uint64_t value) const;

private:
    static constexpr uint64_t LISTED = uint64_t{1} << 63;

    uint64_t Converted(const CVcdReader::CVariable& var, uint64_t value);
    uint64_t Index(const std::string& digits);
    bool Near(double x, double y) const;

    CTolerance m_tolerance;
    bool m_reals;
    int m_width;
    std::vector<std::string> m_digits;  // by number, for bits
    std::unordered_map<std::string, uint64_t> m_numbers;
};
