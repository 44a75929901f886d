#pragma once

#include "core/base/ColorRef.h"
#include "gui/ui/Dialog.h"
#include "support/gui/Pixels.h"
#include "support/gui/ScopedModalHook.h"

#include <QApplication>
#include <QColor>
#include <QEvent>
#include <QKeyEvent>
#include <QRect>
#include <QWidget>

inline COLORREF RoleColor(const QWidget& widget, QPalette::ColorRole role)
{
    const QColor color = widget.palette().color(role);
    return RGB(static_cast<unsigned>(color.red()), static_cast<unsigned>(color.green()),
               static_cast<unsigned>(color.blue()));
}

// Bounding box of the pixels inside area that differ from the background.
inline QRect InkBox(const QImage& image, const QRect& area, COLORREF background)
{
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (PixelAt(image, x, y) != background)
                box |= QRect(x, y, 1, 1);
    return box;
}

inline void PressKey(QWidget& widget, int key, const QString& text = QString())
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(&widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(&widget, &release);
}

// Counts the paint events a widget receives.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget& widget) { widget.installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++count;
        return false;
    }
};
