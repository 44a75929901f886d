#include "gui/ui/FittingText.h"

#include <QEvent>
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

FittingField::FittingField(QWidget* parent) : QLineEdit(parent), m_base(font())
{
    setReadOnly(true);
    connect(this, &QLineEdit::textChanged, this, [this] { Fit(); });
}

void FittingField::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange && !m_bFitting) {
        m_base = font();
        Fit();
    }
    QLineEdit::changeEvent(event);
}

void FittingField::resizeEvent(QResizeEvent* event)
{
    QLineEdit::resizeEvent(event);
    Fit();
}

void FittingField::Fit()
{
    m_bFitting = true;
    const int frame = hasFrame() ? style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, this) : 0;
    const QMargins margins = textMargins();
    const int room = width() - 2 * frame - 4 - margins.left() - margins.right();  // a blank's room each side
    const QFont fitted = FontToFit(m_base, text(), room);
    setFont(fitted);
    const bool whole = QFontMetrics(fitted).horizontalAdvance(text()) <= room;
    setToolTip(fitted == m_base && whole ? QString() : text());
    setCursorPosition(0);
    m_bFitting = false;
}

FittingList::FittingList(QWidget* parent) : QListWidget(parent), m_base(font())
{
    connect(model(), &QAbstractItemModel::rowsInserted, this, [this](const QModelIndex&, int first, int last) {
        const qsizetype before = m_longest.size();
        for (int row = first; row <= last; ++row)
            if (const QListWidgetItem* line = item(row); line && line->text().size() > m_longest.size())
                m_longest = line->text();
        if (m_longest.size() != before)
            Fit();
    });
    connect(model(), &QAbstractItemModel::modelReset, this, [this] {
        m_longest.clear();
        Fit();
    });
}

FittingList::~FittingList()
{
    // The list empties its model as it goes: nothing is fitted then.
    disconnect(model(), nullptr, this, nullptr);
}

void FittingList::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::FontChange && !m_bFitting) {
        m_base = font();
        Fit();
    }
    QListWidget::changeEvent(event);
}

void FittingList::resizeEvent(QResizeEvent* event)
{
    QListWidget::resizeEvent(event);
    Fit();
}

void FittingList::Fit()
{
    m_bFitting = true;
    // An item's text has the view's margin on each side.
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    setFont(FontToFit(m_base, m_longest, viewport()->width() - 2 * margin));
    m_bFitting = false;
}
