#pragma once
// The panel's drawing surface on Qt: a QPainter over the view's off-screen
// image. Everything is given in panel pixels; on a target of twice the pixel
// density the pictures drawn are the ones of twice the size.

#include <QFont>
#include <QImage>

#include "panel/draw_surface.h"

class QPainter;

class CQtDrawSurface : public CDrawSurface {
public:
    explicit CQtDrawSurface(QPainter& painter);

    void DrawPicture(int id, const CRect& dest) override;
    void FillRect(const CRect& rect, CColour colour) override;
    void OutlineRect(const CRect& rect) override;
    void DrawText(const std::string& text, const CRect& rect, TextMode mode) override;

protected:
    // Copies the picture opaque and unscaled from its top-left, as much of it
    // as dest takes.
    void DrawImage(const QImage& picture, const CRect& dest);
    // The target's device pixels per panel pixel.
    qreal Ratio() const { return m_ratio; }

private:
    QPainter& m_painter;
    qreal m_ratio;
};

// The panel's default user-interface font.
QFont panel_font();
