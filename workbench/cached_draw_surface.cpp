#include "workbench/cached_draw_surface.h"

#include "app/qt/picture_loader.h"

QHash<int, QImage> CCachedDrawSurface::s_pictures;

CCachedDrawSurface::CCachedDrawSurface(QPainter& painter) : CQtDrawSurface(painter) {}

void CCachedDrawSurface::DrawPicture(int id, const CRect& dest)
{
    auto it = s_pictures.find(id);
    if (it == s_pictures.end())
        it = s_pictures.insert(id, load_picture(id).convertToFormat(QImage::Format_RGB32));
    DrawImage(*it, dest);
}
