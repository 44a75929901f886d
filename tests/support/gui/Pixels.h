#pragma once

#include "core/base/ColorRef.h"

#include <QImage>
#include <QRect>
#include <QWidget>

// What a widget paints, as 32-bit RGB pixels.
inline QImage Render(QWidget& widget)
{
    return widget.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

inline COLORREF PixelAt(const QImage& image, int x, int y)
{
    const QRgb pixel = image.pixel(x, y);
    return RGB(static_cast<unsigned>(qRed(pixel)), static_cast<unsigned>(qGreen(pixel)),
               static_cast<unsigned>(qBlue(pixel)));
}

inline int CountPixels(const QImage& image, const QRect& area, COLORREF colour)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += PixelAt(image, x, y) == colour ? 1 : 0;
    return count;
}

inline int CountPixels(const QImage& image, COLORREF colour)
{
    return CountPixels(image, image.rect(), colour);
}
