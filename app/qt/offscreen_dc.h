#pragma once
// The off-screen image a paint draws into, of exactly the client size; the
// finished image is copied to the screen in one piece, so nothing flickers.

#include <QImage>
#include <QRect>

class COffscreenDC {
public:
    explicit COffscreenDC(const QRect& client);
    QImage& Image() { return m_image; }
    bool IsValid() const { return !m_image.isNull(); }

private:
    QImage m_image;
};
