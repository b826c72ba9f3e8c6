#include "workbench/cached_draw_surface.h"

#include <QPainter>

#include "app/qt/picture_loader.h"

QHash<int, QImage> CCachedDrawSurface::s_pictures;

CCachedDrawSurface::CCachedDrawSurface(QPainter& painter) : CQtDrawSurface(painter), m_painter(painter) {}

// Copied opaque and unscaled from the picture's top-left, as much as the
// rectangle takes, as the simulator draws it.
void CCachedDrawSurface::DrawPicture(int id, const CRect& dest)
{
    auto it = s_pictures.find(id);
    if (it == s_pictures.end())
        it = s_pictures.insert(id, load_picture(id).convertToFormat(QImage::Format_RGB32));
    const QImage& picture = *it;
    if (picture.isNull() || dest.IsEmpty())
        return;
    const int width = std::min(dest.Width(), picture.width());
    const int height = std::min(dest.Height(), picture.height());
    m_painter.drawImage(QPoint(dest.left, dest.top), picture, QRect(0, 0, width, height));
}
