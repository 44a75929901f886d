#include "gui/ui/Banner.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QWidget>

void PaintBanner(QPainter& painter, const QWidget& window, const QFont& font, int bandHeight)
{
    const int width = window.width();
    QLinearGradient band(0, 0, width, 0);
    band.setColorAt(0, QColor(16, 40, 88));
    band.setColorAt(1, QColor(70, 110, 170));
    painter.fillRect(QRect(0, 0, width, bandHeight), band);
    QFont name = font;
    name.setPixelSize(24);
    name.setBold(true);
    painter.setFont(name);
    painter.setPen(QColor(235, 240, 250));
    painter.drawText(QRect(13, 2, 480, 30), Qt::AlignLeft | Qt::AlignVCenter, "Quenzario");
    painter.setPen(window.palette().color(QPalette::Shadow));
    painter.drawLine(0, bandHeight - 2, width, bandHeight - 2);
    painter.setPen(window.palette().color(QPalette::Light));
    painter.drawLine(0, bandHeight - 1, width, bandHeight - 1);
}
