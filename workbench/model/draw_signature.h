#pragma once
// A drawing surface that draws nothing and sums up what it was asked to
// draw: the panel's look as one number. The same calls paint the same
// pixels, so a panel whose signature has not changed needs no repaint.

#include <cstdint>

#include "panel/draw_surface.h"

class CDrawSignature : public CDrawSurface {
public:
    uint64_t Value() const { return m_hash; }

    void DrawPicture(int id, const CRect& dest) override;
    void FillRect(const CRect& rect, CColour colour) override;
    void OutlineRect(const CRect& rect) override;
    void DrawText(const std::string& text, const CRect& rect, TextMode mode) override;

private:
    void Add(const void* data, size_t size);
    void Add(const CRect& rect) { Add(&rect, sizeof rect); }

    uint64_t m_hash = 14695981039346656037ull;  // FNV-1a
};
