#pragma once
// The panel's Qt drawing surface with the pictures kept once loaded: the
// workbench paints the panel up to 60 times a second, and decoding every
// picture afresh at every draw would cost more than the rest of the frame.

#include <QHash>
#include <QImage>

#include "app/qt/qt_draw_surface.h"

class CCachedDrawSurface : public CQtDrawSurface {
public:
    explicit CCachedDrawSurface(QPainter& painter);

    void DrawPicture(int id, const CRect& dest) override;

private:
    static QHash<int, QImage> s_pictures;  // the window's thread only
};
