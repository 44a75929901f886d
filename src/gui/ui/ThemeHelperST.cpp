#include "gui/ui/ThemeHelperST.h"

#include "core/ui/ButtonLook.h"

#include <QApplication>
#include <QPainter>
#include <QStyleOptionButton>
#include <QWidget>

#include <cwctype>

struct ThemeData {
    QPointer<QStyle> style;
    QPointer<QWidget> window;
};

namespace {

bool SameClassName(const wchar_t* name, const wchar_t* expected)
{
    for (; *name && *expected; ++name, ++expected) {
        if (std::towupper(static_cast<wint_t>(*name)) != std::towupper(static_cast<wint_t>(*expected)))
            return false;
    }
    return *name == *expected;
}

}  // namespace

CThemeHelperST::CThemeHelperST() : CThemeHelperST(QApplication::style())
{
}

CThemeHelperST::CThemeHelperST(QStyle* style) : m_hDll(style)
{
}

CThemeHelperST::~CThemeHelperST() = default;

HTHEME CThemeHelperST::OpenThemeData(QWidget* window, const wchar_t* classList)
{
    if (!m_hDll || !window || !classList || !SameClassName(classList, L"BUTTON"))
        return nullptr;
    return new ThemeData{m_hDll, window};
}

HRESULT CThemeHelperST::CloseThemeData(HTHEME theme)
{
    if (!theme)
        return E_FAIL;
    delete theme;
    return m_hDll ? S_OK : E_FAIL;
}

HRESULT CThemeHelperST::DrawThemeBackground(HTHEME theme, QPainter* painter, int partId, int stateId, const QRect* rect,
                                            const QRect* clipRect)
{
    if (!m_hDll || !theme || !theme->style || !theme->window || !painter || !rect || partId != BP_PUSHBUTTON)
        return E_FAIL;
    QStyleOptionButton option;
    option.initFrom(theme->window);
    option.rect = *rect;
    option.state = QStyle::State_None;
    if (theme->window->isActiveWindow())
        option.state |= QStyle::State_Active;
    switch (stateId) {
    case PBS_DISABLED: break;
    case PBS_PRESSED: option.state |= QStyle::State_Enabled | QStyle::State_Sunken; break;
    case PBS_HOT: option.state |= QStyle::State_Enabled | QStyle::State_Raised | QStyle::State_MouseOver; break;
    case PBS_DEFAULTED:
        option.state |= QStyle::State_Enabled | QStyle::State_Raised;
        option.features |= QStyleOptionButton::DefaultButton;
        break;
    default: option.state |= QStyle::State_Enabled | QStyle::State_Raised; break;
    }
    painter->save();
    if (clipRect)
        painter->setClipRect(*clipRect);
    theme->style->drawControl(QStyle::CE_PushButtonBevel, &option, painter, theme->window);
    painter->restore();
    return S_OK;
}

bool CThemeHelperST::IsAppThemed()
{
    return m_hDll != nullptr;
}
