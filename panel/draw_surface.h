#pragma once
// What the widgets need of the surface they draw on, and the beep.

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

// The simple beep. The buzzer sounds it from the firmware thread, so whatever
// is installed must return at once and be callable from any thread.
using beep_function = void (*)();
void panel_install_beep(beep_function beep);  // nullptr installs a silent beep
void panel_beep();
