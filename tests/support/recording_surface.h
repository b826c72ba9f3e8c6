#pragma once
// A drawing surface that draws nothing and remembers every call, in order,
// so that tests can check what a widget drew where.

#include <ostream>
#include <string>
#include <vector>

#include "panel/draw_surface.h"

struct CSurfaceCall {
    enum Kind { PICTURE, FILL, OUTLINE, TEXT };

    static CSurfaceCall Picture(int id, const CRect& rect);
    static CSurfaceCall Fill(const CRect& rect, CColour colour);
    static CSurfaceCall Outline(const CRect& rect);
    static CSurfaceCall Text(const std::string& text, const CRect& rect, CDrawSurface::TextMode mode);

    bool operator==(const CSurfaceCall& other) const;

    Kind kind = PICTURE;
    CRect rect{0, 0, 0, 0};
    int pictureId = 0;                                         // PICTURE
    CColour colour{0, 0, 0};                                   // FILL
    std::string text;                                          // TEXT
    CDrawSurface::TextMode mode = CDrawSurface::TEXT_CENTRED;  // TEXT
};

std::ostream& operator<<(std::ostream& out, const CSurfaceCall& call);

class CRecordingSurface : public CDrawSurface {
public:
    void DrawPicture(int id, const CRect& dest) override;
    void FillRect(const CRect& rect, CColour colour) override;
    void OutlineRect(const CRect& rect) override;
    void DrawText(const std::string& text, const CRect& rect, TextMode mode) override;

    // The texts drawn, in order.
    std::vector<std::string> Texts() const;
    void Clear() { m_calls.clear(); }

    std::vector<CSurfaceCall> m_calls;
};
