#pragma once
// The values of two namesakes, A's and B's, brought into one space in which
// equal numbers are equal values, so the comparison of edges stays a
// comparison of numbers. Two variables held as plain numbers (ours) are
// taken as they are; bits otherwise become digits of the wider width,
// extended on the left as the dump format says, numbered in one list; reals,
// or a real against bits, become doubles. Reals may be the same within a
// tolerance. Standard C++ only.

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

class CValueMatch {
public:
    using CChanges = CVcdValues::CChanges;

    CValueMatch(const CVcdReader::CVariable& a, const CVcdReader::CVariable& b, const CTolerance& tolerance);

    const CChanges& A() const { return m_plain ? m_a.changes : m_changesA; }
    const CChanges& B() const { return m_plain ? m_b.changes : m_changesB; }
    // B's value as held against A's: A's own where the two are the same within the tolerance.
    uint64_t Seen(uint64_t a, uint64_t b) const;
    // A value of the one space as text.
    std::string Text(uint64_t value) const;
    // Whether the values are held as plain numbers, as CVcdReader holds ours.
    bool Plain() const { return m_plain; }

private:
    CChanges Converted(const CVcdReader::CVariable& var);
    bool Near(double x, double y) const;

    const CVcdReader::CVariable& m_a;
    const CVcdReader::CVariable& m_b;
    CTolerance m_tolerance;
    bool m_plain = false, m_reals = false;
    int m_width = 1;
    CChanges m_changesA, m_changesB;
    std::vector<std::string> m_digits;  // by number, for bits
    std::unordered_map<std::string, uint64_t> m_numbers;
};
