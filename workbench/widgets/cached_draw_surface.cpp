#include "workbench/widgets/cached_draw_surface.h"

#include "app/qt/picture_loader.h"

QHash<QPair<int, int>, QImage> CCachedDrawSurface::s_pictures;

CCachedDrawSurface::CCachedDrawSurface(QPainter& painter) : CQtDrawSurface(painter) {}

void CCachedDrawSurface::DrawPicture(int id, const CRect& dest)
{
    const QPair<int, int> key(id, picture_scale(Ratio()));
    auto it = s_pictures.find(key);
    if (it == s_pictures.end())
        it = s_pictures.insert(key, load_picture(id, Ratio()).convertToFormat(QImage::Format_RGB32));
    DrawImage(*it, dest);
}
