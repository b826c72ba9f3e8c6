#pragma once
// The panel's Qt drawing surface with the pictures kept once loaded: the
// workbench paints the panel up to 60 times a second, and decoding every
// picture afresh at every draw would cost more than the rest of the frame.
// Each picture is kept in the size that suits the target's pixel density.

#include <QHash>
#include <QImage>
#include <QPair>

#include "app/qt/qt_draw_surface.h"

class CCachedDrawSurface : public CQtDrawSurface {
public:
    explicit CCachedDrawSurface(QPainter& painter);

    void DrawPicture(int id, const CRect& dest) override;

private:
    // By identifier and scale of the picture file; the window's thread only.
    static QHash<QPair<int, int>, QImage> s_pictures;
};
