#include "gui/ui/TextProgressCtrl.h"

#include "gui/ui/QtConvert.h"

#include <QEvent>
#include <QPainter>

CTextProgressCtrl::CTextProgressCtrl(QWidget* parent) : QWidget(parent)
{
}

template <class Move>
int CTextProgressCtrl::Moved(Move move)
{
    bool changed = false;
    const int previous = move(&changed);
    // Drawn at once, as the bar moves during long steps on this thread.
    if (changed)
        repaint();
    return previous;
}

void CTextProgressCtrl::SetRange(int lower, int upper)
{
    m_model.SetRange(lower, upper);
    update();
}

void CTextProgressCtrl::GetRange(int& lower, int& upper) const
{
    lower = m_model.Lower();
    upper = m_model.Upper();
}

int CTextProgressCtrl::SetPos(int position)
{
    return Moved([&](bool* changed) { return m_model.SetPos(position, Extent(), changed); });
}

int CTextProgressCtrl::OffsetPos(int delta)
{
    return Moved([&](bool* changed) { return m_model.OffsetPos(delta, Extent(), changed); });
}

int CTextProgressCtrl::SetStep(int step)
{
    return m_model.SetStep(step);
}

int CTextProgressCtrl::StepIt()
{
    return Moved([&](bool* changed) { return m_model.StepIt(Extent(), changed); });
}

COLORREF CTextProgressCtrl::SetFillColour(COLORREF color)
{
    const COLORREF previous = m_model.SetBarColor(color);
    update();
    return previous;
}

COLORREF CTextProgressCtrl::SetBkColour(COLORREF color)
{
    const COLORREF previous = m_model.SetBkColor(color);
    update();
    return previous;
}

COLORREF CTextProgressCtrl::SetTextColour(COLORREF color)
{
    const COLORREF previous = m_model.SetTextColor(color);
    update();
    return previous;
}

void CTextProgressCtrl::SetShowText(bool show)
{
    if (show == m_model.ShowsText())
        return;
    m_model.SetShowText(show);
    update();
}

void CTextProgressCtrl::SetWindowText(const std::string& text)
{
    setWindowTitle(QString::fromStdString(text));
}

void CTextProgressCtrl::SetVertical(bool vertical)
{
    m_bVertical = vertical;
    m_model.Resized();
    update();
}

void CTextProgressCtrl::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowTitleChange) {
        m_model.SetText(windowTitle().toStdString());
        update();
    }
}

void CTextProgressCtrl::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_model.Resized();
}

void CTextProgressCtrl::paintEvent(QPaintEvent*)
{
    if (!m_model.IsDrawable())
        return;
    const QColor bar = ToQColor(m_model.BarColor(ToColorRef(palette().color(QPalette::Highlight))));
    const QColor background = ToQColor(m_model.BkColor(ToColorRef(palette().color(QPalette::Base))));
    const ProgressModel::Parts parts = m_model.Split(ToUiRect(rect()), m_bVertical);
    const QRect barRect = ToQRect(parts.bar);
    const QRect restRect = ToQRect(parts.rest);

    QPainter painter(this);
    painter.fillRect(barRect, bar);
    painter.fillRect(restRect, background);
    if (m_bVertical || !m_model.ShowsText())
        return;
    const QString text = QString::fromStdString(m_model.DisplayText());
    const int flags = Qt::AlignCenter | Qt::TextSingleLine;
    painter.setFont(font());
    painter.setClipRect(barRect);
    painter.setPen(ToQColor(m_model.TextColorOverBar(ToColorRef(background))));
    painter.drawText(rect(), flags, text);
    painter.setClipRect(restRect);
    painter.setPen(ToQColor(m_model.TextColorOverRest(ToColorRef(bar))));
    painter.drawText(rect(), flags, text);
}
