#include "gui/ui/XPStyleButtonST.h"

#include "gui/ui/ThemeHelperST.h"

CXPStyleButtonST::CXPStyleButtonST(QWidget* parent) : CButtonST(parent)
{
}

CXPStyleButtonST::CXPStyleButtonST(const QString& caption, QWidget* parent) : CButtonST(caption, parent)
{
}

void CXPStyleButtonST::SetThemeHelper(CThemeHelperST* themeHelper)
{
    m_pTheme = themeHelper;
    update();
}

bool CXPStyleButtonST::Themed() const
{
    return m_pTheme && m_pTheme->IsAppThemed();
}

void CXPStyleButtonST::PaintBackground(QPainter& painter, const QRect& rect, const ButtonDrawState& state)
{
    if (Themed()) {
        if (HTHEME theme = m_pTheme->OpenThemeData(this, L"BUTTON")) {
            m_pTheme->DrawThemeBackground(theme, &painter, BP_PUSHBUTTON, Look().ThemeState(state), &rect, nullptr);
            m_pTheme->CloseThemeData(theme);
            return;
        }
    }
    CButtonST::PaintBackground(painter, rect, state);
}

void CXPStyleButtonST::PaintBorder(QPainter& painter, const QRect& rect, const ButtonDrawState& state)
{
    if (!Themed())
        CButtonST::PaintBorder(painter, rect, state);
}
