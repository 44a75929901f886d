#include "core/ui/ButtonLook.h"

#include <algorithm>

COLORREF ShiftColorValue(COLORREF color, int shift)
{
    const int red = static_cast<int>(GetRValue(color));
    const int green = static_cast<int>(GetGValue(color));
    const int blue = static_cast<int>(GetBValue(color));
    if (shift > 0)
        shift = std::min(shift, 255 - std::max({red, green, blue}));
    else
        shift = std::max(shift, -std::min({red, green, blue}));
    return RGB(static_cast<unsigned>(red + shift), static_cast<unsigned>(green + shift),
               static_cast<unsigned>(blue + shift));
}

unsigned GrayLevel(unsigned red, unsigned green, unsigned blue)
{
    return static_cast<unsigned>(0.299 * red + 0.587 * green + 0.114 * blue) & 0xFFu;
}

ButtonLook::ButtonLook(COLORREF face, COLORREF text)
{
    SetDefaultColors(face, text);
}

unsigned ButtonLook::SetAlignment(std::uint8_t align)
{
    if (align > ST_ALIGN_OVERLAP)
        return BTNST_INVALIDALIGN;
    m_nAlign = align;
    return BTNST_OK;
}

unsigned ButtonLook::SetPressShift(std::uint8_t style)
{
    switch (style) {
    case BTNST_PRESSED_LEFTRIGHT: m_ptPressedOffset = {1, 1}; return BTNST_OK;
    case BTNST_PRESSED_TOPBOTTOM: m_ptPressedOffset = {0, 2}; return BTNST_OK;
    default: return BTNST_INVALIDPRESSEDSTYLE;
    }
}

unsigned ButtonLook::ShiftColor(std::uint8_t index, std::int16_t offset)
{
    if (index >= BTNST_MAX_COLORS)
        return BTNST_INVALIDINDEX;
    if (offset < -255 || offset > 255)
        return BTNST_BADPARAM;
    m_crColors[index] = ShiftColorValue(m_crColors[index], offset);
    return BTNST_OK;
}

void ButtonLook::SetDefaultColors(COLORREF face, COLORREF text)
{
    m_crColors = {face, text, face, text, face, text};
}

bool ButtonLook::TrackMouse(bool pointerOverButton, bool leftButtonDown)
{
    if (!m_bIsFlat || (leftButtonDown && !m_bMouseOnButton))
        return false;
    if (!pointerOverButton)
        return EndHot();
    if (m_bMouseOnButton)
        return false;
    m_bMouseOnButton = true;
    return true;
}

bool ButtonLook::EndHot()
{
    if (!m_bIsFlat || !m_bMouseOnButton)
        return false;
    m_bMouseOnButton = false;
    return true;
}

bool ButtonLook::HasBlackFrame(const ButtonDrawState& state) const
{
    return !m_bIsFlat && (state.focused || state.isDefault);
}

COLORREF ButtonLook::BackgroundColor(const ButtonDrawState& state) const
{
    if (IsIn(state))
        return m_crColors[BTNST_COLOR_BK_IN];
    if (state.focused)
        return m_crColors[BTNST_COLOR_BK_FOCUS];
    return m_crColors[BTNST_COLOR_BK_OUT];
}

ButtonBorder ButtonLook::Border(const ButtonDrawState& state) const
{
    if (state.pressed)
        return ButtonBorder::Sunken;
    if (!m_bIsFlat || m_bMouseOnButton)
        return ButtonBorder::Raised;
    return ButtonBorder::None;
}

bool ButtonLook::UsesOutImage(const ButtonDrawState& state, bool hasOutImage) const
{
    return hasOutImage && !state.pressed && (state.checkBox || !m_bMouseOnButton);
}

ButtonImageLayout ButtonLook::PlaceImage(const UiRect& item, int clientRight, UiSize image, bool hasCaption,
                                         const ButtonDrawState& state) const
{
    UiRect caption = item;
    int left = item.left;
    int top = item.top;
    const int centredLeft = item.left + (item.Width() - image.width) / 2;
    const int centredTop = item.top + (item.Height() - image.height) / 2;
    switch (m_nAlign) {
    case ST_ALIGN_HORIZ:
        if (hasCaption) {
            left += m_ptImageOrg.x;
            caption.left += image.width + m_ptImageOrg.x;
        } else {
            left = centredLeft;
        }
        top = centredTop;
        break;
    case ST_ALIGN_VERT:
        left = centredLeft;
        if (hasCaption) {
            top = m_ptImageOrg.y;
            caption.top += image.height;
        } else {
            top = centredTop;
        }
        break;
    case ST_ALIGN_HORIZ_RIGHT:
        if (hasCaption) {
            const int captionWidth = caption.Width();
            caption.left = m_ptImageOrg.x;
            caption.right = captionWidth - image.width - m_ptImageOrg.x;
            left = clientRight - image.width - m_ptImageOrg.x;
            top = centredTop;
        } else {
            left = centredLeft;
        }
        break;
    default:  // overlap: the item rectangle as it is
        break;
    }
    UiRect placed{left, top, left + image.width, top + image.height};
    if (MovesWhenPressed(state))
        placed = placed.Offset(m_ptPressedOffset.x, m_ptPressedOffset.y);
    return {placed, caption};
}

UiRect ButtonLook::CaptionRect(const UiRect& caption, const ButtonDrawState& state) const
{
    return MovesWhenPressed(state) ? caption.Offset(m_ptPressedOffset.x, m_ptPressedOffset.y) : caption;
}

COLORREF ButtonLook::CaptionColor(const ButtonDrawState& state) const
{
    return IsIn(state) ? m_crColors[BTNST_COLOR_FG_IN] : m_crColors[BTNST_COLOR_FG_OUT];
}

int ButtonLook::ThemeState(const ButtonDrawState& state) const
{
    if (state.disabled)
        return PBS_DISABLED;
    if (state.pressed)
        return PBS_PRESSED;
    if (m_bMouseOnButton)
        return PBS_HOT;
    if (state.isDefault)
        return PBS_DEFAULTED;
    return PBS_NORMAL;
}
