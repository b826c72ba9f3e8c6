#pragma once
// Comparing a picture drawn at twice the pixel density with the same picture
// at its own size.

#include <QImage>

#include <cstdlib>

// The mean difference per colour channel between `one` and `two` (twice its
// size), each 2 x 2 block of `two` taken as its average.
inline double mean_difference_halved(const QImage& one, const QImage& two)
{
    double sum = 0;
    for (int y = 0; y < one.height(); ++y)
        for (int x = 0; x < one.width(); ++x) {
            const QRgb block[4] = {two.pixel(2 * x, 2 * y), two.pixel(2 * x + 1, 2 * y), two.pixel(2 * x, 2 * y + 1),
                                   two.pixel(2 * x + 1, 2 * y + 1)};
            const QRgb pixel = one.pixel(x, y);
            for (int shift : {16, 8, 0}) {
                int total = 0;
                for (QRgb corner : block)
                    total += (corner >> shift) & 0xFF;
                sum += std::abs(total / 4 - static_cast<int>((pixel >> shift) & 0xFF));
            }
        }
    return sum / (3.0 * one.width() * one.height());
}

// Whether `shown` holds `picture` pixel for pixel with its top-left at `at`
// (both in device pixels).
inline bool shows_at(const QImage& shown, QPoint at, const QImage& picture)
{
    const QImage part = shown.copy(QRect(at, picture.size())).convertToFormat(QImage::Format_RGB32);
    return part == picture.convertToFormat(QImage::Format_RGB32);
}
