#pragma once
// What the widgets need of the surface they draw on.

#include <cstdint>
#include <string>

#include "panel/geometry.h"

struct CColour {
    uint8_t red;
    uint8_t green;
    uint8_t blue;
};

class CDrawSurface {
public:
    enum TextMode {
        TEXT_CENTRED,  // centred horizontally and vertically, on one line
        TEXT_ABOVE,    // centred horizontally, top-aligned
    };

    virtual ~CDrawSurface() = default;

    // Copies picture `id` opaque and unscaled, its top-left pixel at dest's
    // top-left, as much of it as dest's width and height take.
    virtual void DrawPicture(int id, const CRect& dest) = 0;
    virtual void FillRect(const CRect& rect, CColour colour) = 0;
    // A one-pixel black outline, filled inside with white.
    virtual void OutlineRect(const CRect& rect) = 0;
    // Black text in the panel font, transparent, never clipped (UTF-8).
    virtual void DrawText(const std::string& text, const CRect& rect, TextMode mode) = 0;
};
