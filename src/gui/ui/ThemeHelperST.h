#pragma once

#include <QPointer>
#include <QStyle>

#include <cstdint>

class QPainter;
class QRect;
class QWidget;

using HRESULT = std::int32_t;
constexpr HRESULT S_OK = 0;
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);

// Parts of the theme class "BUTTON".
constexpr int BP_PUSHBUTTON = 1;

struct ThemeData;
using HTHEME = ThemeData*;

// Reaches the platform's visual style (the application's QStyle) for the
// themed buttons. Bound to no style it answers as when themes are missing:
// no theme data, every drawing call fails, themes off; the buttons then
// draw themselves.
class CThemeHelperST {
public:
    CThemeHelperST();
    explicit CThemeHelperST(QStyle* style);
    virtual ~CThemeHelperST();
    CThemeHelperST(const CThemeHelperST&) = delete;
    CThemeHelperST& operator=(const CThemeHelperST&) = delete;

    HTHEME OpenThemeData(QWidget* window, const wchar_t* classList);
    HRESULT CloseThemeData(HTHEME theme);
    HRESULT DrawThemeBackground(HTHEME theme, QPainter* painter, int partId, int stateId, const QRect* rect,
                                const QRect* clipRect);
    bool IsAppThemed();

private:
    QPointer<QStyle> m_hDll;
};
