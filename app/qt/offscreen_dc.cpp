#include "app/qt/offscreen_dc.h"

#include <QPaintDevice>
#include <QPainter>

namespace {

QSize image_size(const QRect* client) { return client && client->isValid() ? client->size() : QSize(0, 0); }

// The window's backing store takes 32-bit pixels; an image target keeps its own format.
QImage::Format format_for(const QPaintDevice& target)
{
    if (target.devType() == QInternal::Image) {
        const QImage::Format format = static_cast<const QImage&>(target).format();
        if (format != QImage::Format_Invalid)
            return format;
    }
    return QImage::Format_RGB32;
}

}  // namespace

// One image pixel is one panel pixel, whatever the target's scale.
COffscreenDC::COffscreenDC(const QPaintDevice& target, const QRect* client)
    : m_image(image_size(client), format_for(target))
{
}

COffscreenDC::COffscreenDC(const QRect& client) : m_image(image_size(&client), QImage::Format_RGB32) {}

void COffscreenDC::CopyTo(QPainter& screen) const
{
    if (IsValid())
        screen.drawImage(0, 0, m_image);
}
