#include "gui/ui/HyperLink.h"

#include "core/base/UserPrompt.h"
#include "gui/ui/Beep.h"
#include "gui/ui/QtConvert.h"
#include "gui/ui/ShellOpen.h"

#include <QFontMetrics>
#include <QMouseEvent>

CHyperLink::CHyperLink(QWidget* parent) : QLabel(parent)
{
    setMouseTracking(true);
}

CHyperLink::CHyperLink(const std::string& text, const std::string& address, QWidget* parent) : CHyperLink(parent)
{
    setText(QString::fromStdString(text));
    m_strURL = address;
    PreSubclassWindow();
}

void CHyperLink::PreSubclassWindow()
{
    if (m_strURL.empty())
        m_strURL = text().toStdString();
    if (text().isEmpty())
        setText(QString::fromStdString(m_strURL));
    setTextFormat(Qt::PlainText);
    QFont linkFont = font();
    linkFont.setUnderline(m_bUnderline);
    setFont(linkFont);
    setCursor(Qt::PointingHandCursor);
    setToolTip(QString::fromStdString(m_strURL));
    ShowColour();
    FitToText();
}

void CHyperLink::SetURL(const std::string& address)
{
    m_strURL = address;
    setToolTip(QString::fromStdString(address));
}

void CHyperLink::SetColours(COLORREF link, COLORREF visited, COLORREF hover)
{
    m_colours = HyperLinkColours{link, visited, hover};
    ShowColour();
}

void CHyperLink::SetVisited(bool visited)
{
    m_bVisited = visited;
    ShowColour();
}

void CHyperLink::SetUnderline(bool underline)
{
    m_bUnderline = underline;
    QFont linkFont = font();
    linkFont.setUnderline(underline);
    setFont(linkFont);
    FitToText();
}

void CHyperLink::ShowColour()
{
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, ToQColor(TextColour()));
    setPalette(colours);
    update();
}

void CHyperLink::FitToText()
{
    if (!m_bAdjustToFit)
        return;
    // Only the text is the link: the control is as large as the text, kept
    // where its alignment puts the text.
    const QSize extent = QFontMetrics(font()).size(Qt::TextSingleLine, text());
    QRect place = geometry();
    const int width = extent.width();
    const int height = extent.height();
    if (alignment() & Qt::AlignVCenter)
        place.setTop(place.center().y() - height / 2);
    place.setHeight(height);
    if (alignment() & Qt::AlignHCenter)
        place.setLeft(place.center().x() - width / 2);
    else if (alignment() & Qt::AlignRight)
        place.setLeft(place.right() + 1 - width);
    place.setWidth(width);
    setFixedSize(place.size());
    move(place.topLeft());
}

void CHyperLink::mouseMoveEvent(QMouseEvent* event)
{
    QLabel::mouseMoveEvent(event);
    const bool inside = rect().contains(event->position().toPoint());
    if (inside != m_bOverControl) {
        m_bOverControl = inside;
        ShowColour();
        repaint();
    }
}

void CHyperLink::leaveEvent(QEvent* event)
{
    QLabel::leaveEvent(event);
    if (m_bOverControl) {
        m_bOverControl = false;
        ShowColour();
    }
}

void CHyperLink::mouseReleaseEvent(QMouseEvent* event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        GotoURL();
}

int CHyperLink::GotoURL()
{
    const int result = ShellOpen(m_strURL) ? kOpenSucceeded : FailedOpenCode(m_strURL);
    if (result > 32) {
        SetVisited(true);
    } else {
        MessageBeep(MB_ICONEXCLAMATION);
        ReportError(result);
    }
    return result;
}

void CHyperLink::ReportError(int code)
{
    AppMessageBox(HyperLinkErrorText(code), std::string(), MB_OK | MB_ICONEXCLAMATION);
}
