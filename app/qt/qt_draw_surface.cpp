#include "app/qt/qt_draw_surface.h"

#include <QImage>
#include <QPainter>
#include <QString>

#include "app/qt/picture_loader.h"
#include "app/qt/pixel_ratio.h"

CQtDrawSurface::CQtDrawSurface(QPainter& painter) : m_painter(painter), m_ratio(painter_pixel_ratio(painter))
{
    // Between or beyond the pictures' own densities (1.5, 3) they are scaled,
    // and then smoothed rather than left jagged.
    if (m_ratio != picture_scale(m_ratio))
        m_painter.setRenderHint(QPainter::SmoothPixmapTransform);
}

// Loaded by identifier at every draw and released at once, in the size that
// suits the target's pixel density; copied opaque and unscaled from the
// picture's top-left, as much as the rectangle takes.
void CQtDrawSurface::DrawPicture(int id, const CRect& dest) { DrawImage(load_picture(id, m_ratio), dest); }

// The rectangle is in panel pixels, the picture's source rectangle in its own
// pixels: a picture of twice the density gives twice as many of them.
void CQtDrawSurface::DrawImage(const QImage& picture, const CRect& dest)
{
    if (picture.isNull() || dest.IsEmpty())
        return;
    const QSizeF size = picture.deviceIndependentSize();
    const qreal width = std::min<qreal>(dest.Width(), size.width());
    const qreal height = std::min<qreal>(dest.Height(), size.height());
    const qreal scale = picture.devicePixelRatio();
    m_painter.drawImage(QRectF(dest.left, dest.top, width, height), picture,
                        QRectF(0, 0, width * scale, height * scale));
}

void CQtDrawSurface::FillRect(const CRect& rect, CColour colour)
{
    if (rect.IsEmpty())
        return;
    m_painter.fillRect(QRect(rect.left, rect.top, rect.Width(), rect.Height()),
                       QColor(colour.red, colour.green, colour.blue));
}

// A one-pixel black frame on the rectangle's own border pixels, white inside.
void CQtDrawSurface::OutlineRect(const CRect& rect)
{
    if (rect.IsEmpty())
        return;
    const QRect r(rect.left, rect.top, rect.Width(), rect.Height());
    m_painter.fillRect(r, Qt::black);
    if (rect.Width() > 2 && rect.Height() > 2)
        m_painter.fillRect(r.adjusted(1, 1, -1, -1), Qt::white);
}

void CQtDrawSurface::DrawText(const std::string& text, const CRect& rect, TextMode mode)
{
    const int flags = mode == TEXT_CENTRED ? Qt::AlignCenter | Qt::TextSingleLine | Qt::TextDontClip
                                           : Qt::AlignHCenter | Qt::AlignTop | Qt::TextDontClip;
    m_painter.setPen(Qt::black);
    m_painter.drawText(QRect(rect.left, rect.top, rect.Width(), rect.Height()), flags,
                       QString::fromUtf8(text.data(), static_cast<int>(text.size())));
}

QFont panel_font()
{
    QFont font(QStringLiteral("NanumGothic"));
    font.setPixelSize(12);
    font.setStyleHint(QFont::SansSerif);
    return font;
}
