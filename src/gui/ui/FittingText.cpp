#include "gui/ui/FittingText.h"

#include <QFontMetrics>
#include <QStyle>

namespace {

constexpr int kSmallestPixelSize = 8;
constexpr double kSmallestPointSize = 6.0;

}  // namespace

QFont FontToFit(const QFont& base, const QString& text, int room)
{
    QFont fitted = base;
    const bool bySize = fitted.pixelSize() > 0;
    while (QFontMetrics(fitted).horizontalAdvance(text) > room) {
        if (bySize && fitted.pixelSize() > kSmallestPixelSize)
            fitted.setPixelSize(fitted.pixelSize() - 1);
        else if (!bySize && fitted.pointSizeF() - 0.5 >= kSmallestPointSize)
            fitted.setPointSizeF(fitted.pointSizeF() - 0.5);
        else
            break;
    }
    return fitted;
}

FittingField::FittingField(QWidget* parent) : Fitting<QLineEdit>(parent)
{
    setReadOnly(true);
    connect(this, &QLineEdit::textChanged, this, [this] { Fit(); });
}

void FittingField::Fit()
{
    const int frame = hasFrame() ? style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this) : 0;
    const QMargins margins = textMargins();
    const int room = width() - 2 * frame - 4 - margins.left() - margins.right();  // a blank's room each side
    const QFont fitted = FontToFit(BaseFont(), text(), room);
    ShowFont(fitted);
    const bool whole = QFontMetrics(fitted).horizontalAdvance(text()) <= room;
    setToolTip(fitted == BaseFont() && whole ? QString() : text());
    setCursorPosition(0);
}

FittingList::FittingList(QWidget* parent) : Fitting<QListView>(parent)
{
}

FittingList::~FittingList()
{
    // The list empties its model as it goes: nothing is fitted then.
    if (model())
        disconnect(model(), nullptr, this, nullptr);
}

void FittingList::setModel(QAbstractItemModel* newModel)
{
    if (model())
        disconnect(model(), nullptr, this, nullptr);
    Fitting<QListView>::setModel(newModel);
    m_longest.clear();
    if (!newModel)
        return;
    connect(newModel, &QAbstractItemModel::rowsInserted, this, [this](const QModelIndex&, int first, int last) {
        const qsizetype before = m_longest.size();
        for (int row = first; row <= last; ++row)
            if (const QString line = model()->index(row, 0).data().toString(); line.size() > m_longest.size())
                m_longest = line;
        if (m_longest.size() != before)
            Fit();
    });
    connect(newModel, &QAbstractItemModel::modelReset, this, [this] {
        m_longest.clear();
        Fit();
    });
}

void FittingList::Fit()
{
    // An item's text has the view's margin on each side.
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    ShowFont(FontToFit(BaseFont(), m_longest, viewport()->width() - 2 * margin));
}
