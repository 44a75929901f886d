#include "gui/ui/Labels.h"

#include <QLabel>

QLabel* AddLabel(QWidget* parent, const QString& text, const QRect& at, Qt::Alignment align)
{
    auto* label = new QLabel(text, parent);
    label->setGeometry(at);
    label->setAlignment(align | Qt::AlignVCenter);
    return label;
}
