#include "core/ui/ProgressModel.h"

#include "core/base/Format.h"

#include <algorithm>
#include <limits>
#include <utility>

int ProgressModel::Clamped(long long position) const
{
    if (m_nMin < m_nMax)
        position = std::clamp<long long>(position, m_nMin, m_nMax);
    return static_cast<int>(
        std::clamp<long long>(position, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

void ProgressModel::SetRange(int lower, int upper)
{
    m_nMin = lower;
    m_nMax = upper;
    m_nPos = Clamped(m_nPos);
    m_nBarLength = -1;
}

int ProgressModel::SetPos(int position, int extent, bool* redraw)
{
    const int previous = m_nPos;
    m_nPos = Clamped(position);
    const int length = static_cast<int>(Fraction() * extent);
    if (redraw)
        *redraw = length != m_nBarLength;
    m_nBarLength = length;
    return previous;
}

int ProgressModel::OffsetPos(int delta, int extent, bool* redraw)
{
    return SetPos(Clamped(static_cast<long long>(m_nPos) + delta), extent, redraw);
}

int ProgressModel::StepIt(int extent, bool* redraw)
{
    return OffsetPos(m_nStep, extent, redraw);
}

int ProgressModel::SetStep(int step)
{
    return std::exchange(m_nStep, step);
}

double ProgressModel::Fraction() const
{
    if (!IsDrawable())
        return 0.0;
    return (static_cast<double>(m_nPos) - m_nMin) / (static_cast<double>(m_nMax) - m_nMin);
}

std::string ProgressModel::DisplayText() const
{
    if (!m_strText.empty())
        return m_strText;
    return Format("%d%s", static_cast<int>(Fraction() * 100.0), " % Complete");
}

ProgressModel::Parts ProgressModel::Split(const UiRect& client, bool vertical) const
{
    Parts parts{client, client};
    if (vertical) {
        const int top = client.bottom - static_cast<int>(Fraction() * client.Height());
        parts.bar.top = top;
        parts.rest.bottom = top;
    } else {
        const int right = client.left + static_cast<int>(Fraction() * client.Width());
        parts.bar.right = right;
        parts.rest.left = right;
    }
    return parts;
}

COLORREF ProgressModel::SetBarColor(COLORREF color)
{
    return std::exchange(m_crBar, color);
}

COLORREF ProgressModel::SetBkColor(COLORREF color)
{
    return std::exchange(m_crBk, color);
}

COLORREF ProgressModel::SetTextColor(COLORREF color)
{
    return std::exchange(m_crText, color);
}

COLORREF ProgressModel::BarColor(COLORREF systemHighlight) const
{
    return m_crBar == CLR_DEFAULT ? systemHighlight : m_crBar;
}

COLORREF ProgressModel::BkColor(COLORREF systemWindow) const
{
    return m_crBk == CLR_DEFAULT ? systemWindow : m_crBk;
}

COLORREF ProgressModel::TextColorOverBar(COLORREF bkColor) const
{
    return m_crText == CLR_DEFAULT ? bkColor : m_crText;
}

COLORREF ProgressModel::TextColorOverRest(COLORREF barColor) const
{
    return m_crText == CLR_DEFAULT ? barColor : m_crText;
}
