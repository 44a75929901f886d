#pragma once

#include "core/base/ColorRef.h"
#include "core/ui/UiGeometry.h"

#include <QColor>
#include <QImage>
#include <QRect>

// Between the toolkit-free colour and geometry values and Qt's.
inline QColor ToQColor(COLORREF color)
{
    return QColor(static_cast<int>(GetRValue(color)), static_cast<int>(GetGValue(color)),
                  static_cast<int>(GetBValue(color)));
}

inline COLORREF ToColorRef(const QColor& color)
{
    return RGB(static_cast<unsigned>(color.red()), static_cast<unsigned>(color.green()),
               static_cast<unsigned>(color.blue()));
}

inline QRect ToQRect(const UiRect& rect)
{
    return QRect(rect.left, rect.top, rect.Width(), rect.Height());
}

inline UiRect ToUiRect(const QRect& rect)
{
    return {rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()};
}

// Replaces every pixel of a 32-bit image by what change makes of it.
template <class Change>
void TransformPixels(QImage& image, Change change)
{
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] = change(line[x]);
    }
}
