#pragma once

#include <QRect>
#include <QString>
#include <Qt>

class QLabel;
class QWidget;

// A text label of parent placed at a fixed spot, centred vertically there.
QLabel* AddLabel(QWidget* parent, const QString& text, const QRect& at, Qt::Alignment align = Qt::AlignLeft);
