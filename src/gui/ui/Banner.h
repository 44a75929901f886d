#pragma once

class QFont;
class QPainter;
class QWidget;

// The band across the top of the program's windows: a gradient with the
// program's name in a large bold face of font, and an etched edge along its
// bottom, as wide as window.
void PaintBanner(QPainter& painter, const QWidget& window, const QFont& font, int bandHeight);
