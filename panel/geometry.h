#pragma once
// Pixel rectangles and points of the panel; right and bottom are exclusive.

#include <cstdint>

struct CPoint {
    int32_t x;
    int32_t y;
};

struct CRect {
    int32_t left;
    int32_t top;
    int32_t right;
    int32_t bottom;

    int32_t Width() const { return right - left; }
    int32_t Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool operator==(const CRect&) const = default;
};
