#pragma once

#include "core/base/ColorRef.h"
#include "core/ui/UiGeometry.h"

#include <array>
#include <cstddef>
#include <cstdint>

// Result codes of the owner-drawn button's setters.
enum ButtonResult : unsigned {
    BTNST_OK = 0,
    BTNST_INVALIDRESOURCE = 1,
    BTNST_FAILEDMASK = 2,
    BTNST_INVALIDINDEX = 3,
    BTNST_INVALIDALIGN = 4,
    BTNST_BADPARAM = 5,
    BTNST_INVALIDPRESSEDSTYLE = 6,
};

// The six colour slots: background and text when the pointer is over the
// button or it is pressed ("in"), otherwise ("out"), and when focused.
enum ButtonColorSlot : std::uint8_t {
    BTNST_COLOR_BK_IN = 0,
    BTNST_COLOR_FG_IN = 1,
    BTNST_COLOR_BK_OUT = 2,
    BTNST_COLOR_FG_OUT = 3,
    BTNST_COLOR_BK_FOCUS = 4,
    BTNST_COLOR_FG_FOCUS = 5,
    BTNST_MAX_COLORS = 6,
};

// Where the image stands relative to the caption.
enum ButtonAlign : std::uint8_t {
    ST_ALIGN_HORIZ = 0,  // image left of the caption
    ST_ALIGN_VERT = 1,  // image above the caption
    ST_ALIGN_HORIZ_RIGHT = 2,  // image right of the caption
    ST_ALIGN_OVERLAP = 3,  // image and caption over each other
};

// How far caption and image move while the button is held down.
enum ButtonPressStyle : std::uint8_t {
    BTNST_PRESSED_LEFTRIGHT = 0,  // (1,1)
    BTNST_PRESSED_TOPBOTTOM = 1,  // (0,2)
};

// States of the theme's push-button part.
enum ThemeButtonState : int {
    PBS_NORMAL = 1,
    PBS_HOT = 2,
    PBS_PRESSED = 3,
    PBS_DISABLED = 4,
    PBS_DEFAULTED = 5,
};

// The colour with one shift added to red, green and blue alike; the shift is
// cut first so that no channel leaves 0..255 (the hue is kept).
COLORREF ShiftColorValue(COLORREF color, int shift);

// Grey level of a pixel in the grey copy of an icon.
unsigned GrayLevel(unsigned red, unsigned green, unsigned blue);

// What one paint of a button sees besides the look's own state.
struct ButtonDrawState {
    bool pressed = false;  // held down, or a check box that is ticked
    bool focused = false;
    bool disabled = false;
    bool isDefault = false;
    bool checkBox = false;
};

enum class ButtonBorder { None, Raised, Sunken };

struct ButtonImageLayout {
    UiRect image;  // the image's own size at its place
    UiRect caption;  // what is left for the caption
};

// Everything about an owner-drawn button that is not pixels: its colours,
// the hot state of pointer tracking, and where each part of it goes.
class ButtonLook {
public:
    ButtonLook(COLORREF face, COLORREF text);

    unsigned SetAlignment(std::uint8_t align);
    std::uint8_t Alignment() const { return m_nAlign; }
    unsigned SetPressShift(std::uint8_t style);
    UiPoint PressShift() const { return m_ptPressedOffset; }
    UiPoint ImageOrigin() const { return m_ptImageOrg; }

    unsigned ShiftColor(std::uint8_t index, std::int16_t offset);
    void SetDefaultColors(COLORREF face, COLORREF text);
    COLORREF Color(int slot) const { return m_crColors.at(static_cast<std::size_t>(slot)); }

    void SetFlat(bool flat) { m_bIsFlat = flat; }
    bool IsFlat() const { return m_bIsFlat; }
    void SetDrawBorder(bool draw) { m_bDrawBorder = draw; }

    // Pointer tracking; each returns true when the button must repaint.
    bool TrackMouse(bool pointerOverButton, bool leftButtonDown);
    bool EndHot();
    bool IsHot() const { return m_bMouseOnButton; }

    // The parts of one paint, in the order they are drawn.
    bool HasBlackFrame(const ButtonDrawState& state) const;
    COLORREF BackgroundColor(const ButtonDrawState& state) const;
    bool PaintsBorder() const { return !m_bIsFlat || m_bDrawBorder; }
    ButtonBorder Border(const ButtonDrawState& state) const;
    bool UsesOutImage(const ButtonDrawState& state, bool hasOutImage) const;
    // Places an image of the given size; clientRight is the right edge of
    // the whole button, item the rectangle being drawn.
    ButtonImageLayout PlaceImage(const UiRect& item, int clientRight, UiSize image, bool hasCaption,
                                 const ButtonDrawState& state) const;
    UiRect CaptionRect(const UiRect& caption, const ButtonDrawState& state) const;
    COLORREF CaptionColor(const ButtonDrawState& state) const;
    bool DrawsFocusRect(const ButtonDrawState& state) const { return state.focused && !m_bIsFlat; }
    static UiRect FocusRect(const UiRect& item) { return item.Deflate(3); }
    int ThemeState(const ButtonDrawState& state) const;

private:
    bool IsIn(const ButtonDrawState& state) const { return m_bMouseOnButton || state.pressed; }
    bool MovesWhenPressed(const ButtonDrawState& state) const { return state.pressed && !state.checkBox; }

    UiPoint m_ptImageOrg{3, 3};
    UiPoint m_ptPressedOffset{1, 1};
    bool m_bIsFlat = true;
    bool m_bMouseOnButton = false;
    bool m_bDrawBorder = true;
    std::uint8_t m_nAlign = ST_ALIGN_HORIZ;
    std::array<COLORREF, BTNST_MAX_COLORS> m_crColors{};
};
