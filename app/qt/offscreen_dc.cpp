#include "app/qt/offscreen_dc.h"

COffscreenDC::COffscreenDC(const QRect& client)
    : m_image(client.isValid() ? client.size() : QSize(0, 0), QImage::Format_RGB32)
{
}
