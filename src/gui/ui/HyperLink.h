#pragma once

#include "core/ui/HyperLink.h"

#include <QLabel>

#include <string>

// A static text that looks and acts like a link of a web page: underlined in
// the link colour, the hover colour while the pointer is over it and the
// visited colour once it opened; a hand cursor and its address as tooltip.
// A click opens the address through the desktop (ShellOpen); an address that
// cannot be opened beeps and says why.
class CHyperLink : public QLabel {
    Q_OBJECT

public:
    explicit CHyperLink(QWidget* parent = nullptr);
    CHyperLink(const std::string& text, const std::string& address, QWidget* parent = nullptr);

    void SetURL(const std::string& address);
    const std::string& GetURL() const { return m_strURL; }
    void SetColours(COLORREF link, COLORREF visited, COLORREF hover);
    void SetVisited(bool visited);
    bool GetVisited() const { return m_bVisited; }
    void SetUnderline(bool underline);
    void SetAutoSize(bool autoSize) { m_bAdjustToFit = autoSize; }

    // Takes its text as the address when it has none and the address as its
    // text when it is empty, then its font, size, cursor and tooltip.
    void PreSubclassWindow();

    bool IsOver() const { return m_bOverControl; }
    COLORREF TextColour() const { return HyperLinkTextColour(m_colours, m_bOverControl, m_bVisited); }
    // Opens the address as a click does; the shell's result (above 32 is
    // success).
    int GotoURL();

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void ShowColour();
    void FitToText();
    void ReportError(int code);

    HyperLinkColours m_colours;
    bool m_bOverControl = false;
    bool m_bVisited = false;
    bool m_bUnderline = true;
    bool m_bAdjustToFit = true;
    std::string m_strURL;
};
