#pragma once
// Whether `shown` holds `picture` pixel for pixel with its top-left at `at`,
// both in device pixels.

#include <QImage>

inline bool shows_at(const QImage& shown, QPoint at, const QImage& picture)
{
    const QImage part = shown.copy(QRect(at, picture.size())).convertToFormat(QImage::Format_RGB32);
    return part == picture.convertToFormat(QImage::Format_RGB32);
}
