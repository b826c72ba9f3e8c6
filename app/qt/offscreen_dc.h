#pragma once
// The off-screen image a paint draws into, of exactly the client size in panel
// pixels and of the screen's pixel density; the finished image is copied to
// the screen in one piece, so nothing flickers. The image lives for one paint
// only.

#include <QImage>
#include <QRect>

class QPainter;

class COffscreenDC {
public:
    // An image for the screen painter's target, the size of the rectangle
    // (none: empty), at the pixel density the painter draws at.
    COffscreenDC(const QPainter& screen, const QRect* client);
    // An image of the rectangle's size at the given density (benchmarks).
    explicit COffscreenDC(const QRect& client, qreal ratio = 1.0);

    QImage& Image() { return m_image; }
    bool IsValid() const { return !m_image.isNull(); }
    // Copies the whole image to (0, 0) of the screen; its clip keeps only the
    // part that needs repainting.
    void CopyTo(QPainter& screen) const;

private:
    QImage m_image;
};
