#include "app/qt/qt_draw_surface.h"

#include <QImage>
#include <QPainter>
#include <QString>

#include "app/qt/picture_loader.h"

CQtDrawSurface::CQtDrawSurface(QPainter& painter) : m_painter(painter) {}

// Loaded by identifier at every draw and released at once; copied opaque and
// unscaled from the picture's top-left, as much as the rectangle takes.
void CQtDrawSurface::DrawPicture(int id, const CRect& dest) { DrawImage(load_picture(id), dest); }

void CQtDrawSurface::DrawImage(const QImage& picture, const CRect& dest)
{
    if (picture.isNull() || dest.IsEmpty())
        return;
    const int width = std::min(dest.Width(), picture.width());
    const int height = std::min(dest.Height(), picture.height());
    m_painter.drawImage(QPoint(dest.left, dest.top), picture, QRect(0, 0, width, height));
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
