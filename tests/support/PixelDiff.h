#pragma once

#include <QImage>

// How many pixels of two same-sized images differ by more than a step of
// anti-aliasing. Text edges can shift by a fraction of a pixel with whatever
// text was drawn before, so callers allow a few; another picture differs in
// hundreds.
inline int clearlyDifferentPixels(const QImage &first, const QImage &second)
{
    const QImage a = first.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QImage b = second.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    int count = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            count += qAbs(qRed(p) - qRed(q)) + qAbs(qGreen(p) - qGreen(q)) + qAbs(qBlue(p) - qBlue(q)) > 96;
        }
    return count;
}
