#include "app/qt/offscreen_dc.h"

#include <QPaintDevice>
#include <QPainter>

#include "app/qt/pixel_ratio.h"

namespace {

QSize image_size(const QRect* client) { return client && client->isValid() ? client->size() : QSize(0, 0); }

// The window's backing store takes 32-bit pixels; an image target keeps its own format.
QImage::Format format_for(const QPainter& screen)
{
    const QPaintDevice* target = screen.device();
    if (target && target->devType() == QInternal::Image) {
        const QImage::Format format = static_cast<const QImage*>(target)->format();
        if (format != QImage::Format_Invalid)
            return format;
    }
    return QImage::Format_RGB32;
}

QImage make_image(const QSize& size, QImage::Format format, qreal ratio)
{
    QImage image(size * ratio, format);
    image.setDevicePixelRatio(ratio);
    return image;
}

}  // namespace

// A panel pixel is ratio x ratio image pixels, as it is on the screen: the
// copy to the screen scales nothing, and pictures and text are drawn at the
// screen's own density (an image target, as in the tests, keeps its ratio).
COffscreenDC::COffscreenDC(const QPainter& screen, const QRect* client)
    : m_image(make_image(image_size(client), format_for(screen), painter_pixel_ratio(screen)))
{
}

COffscreenDC::COffscreenDC(const QRect& client, qreal ratio)
    : m_image(make_image(image_size(&client), QImage::Format_RGB32, ratio))
{
}

void COffscreenDC::CopyTo(QPainter& screen) const
{
    if (IsValid())
        screen.drawImage(0, 0, m_image);
}
