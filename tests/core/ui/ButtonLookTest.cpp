#include "core/ui/ButtonLook.h"

#include <gtest/gtest.h>

namespace {

constexpr COLORREF kFace = RGB(240, 240, 240);
constexpr COLORREF kText = RGB(0, 0, 0);

ButtonDrawState Pressed(bool checkBox = false)
{
    ButtonDrawState state;
    state.pressed = true;
    state.checkBox = checkBox;
    return state;
}

}  // namespace

TEST(ButtonLook, ShiftColorKeepsEveryChannelInRange)
{
    struct Case {
        COLORREF color;
        int shift;
        COLORREF expected;
    };
    const Case cases[] = {
        {RGB(250, 200, 100), 30, RGB(255, 205, 105)},  // cut to the smallest headroom
        {RGB(20, 200, 100), -30, RGB(0, 180, 80)},    {RGB(100, 100, 100), 30, RGB(130, 130, 130)},
        {RGB(255, 0, 0), 10, RGB(255, 0, 0)},         {RGB(0, 0, 0), -255, RGB(0, 0, 0)},
        {RGB(0, 0, 0), 255, RGB(255, 255, 255)},      {RGB(10, 20, 30), 0, RGB(10, 20, 30)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ShiftColorValue(c.color, c.shift), c.expected) << std::hex << c.color << " " << std::dec << c.shift;
}

TEST(ButtonLook, SettersReportTheirResultCodesAndKeepOldValuesOnError)
{
    ButtonLook look(RGB(250, 200, 100), kText);
    EXPECT_EQ(look.ShiftColor(BTNST_COLOR_BK_IN, 30), BTNST_OK);
    EXPECT_EQ(look.Color(BTNST_COLOR_BK_IN), RGB(255, 205, 105));
    EXPECT_EQ(look.Color(BTNST_COLOR_BK_OUT), RGB(250, 200, 100));  // other slots untouched
    EXPECT_EQ(look.ShiftColor(6, 30), BTNST_INVALIDINDEX);
    EXPECT_EQ(look.ShiftColor(BTNST_COLOR_BK_IN, 256), BTNST_BADPARAM);
    EXPECT_EQ(look.ShiftColor(BTNST_COLOR_BK_IN, -256), BTNST_BADPARAM);
    EXPECT_EQ(look.Color(BTNST_COLOR_BK_IN), RGB(255, 205, 105));

    EXPECT_EQ(look.SetAlignment(ST_ALIGN_VERT), BTNST_OK);
    EXPECT_EQ(look.SetAlignment(4), BTNST_INVALIDALIGN);
    EXPECT_EQ(look.Alignment(), ST_ALIGN_VERT);

    EXPECT_EQ(look.PressShift(), (UiPoint{1, 1}));
    EXPECT_EQ(look.SetPressShift(BTNST_PRESSED_TOPBOTTOM), BTNST_OK);
    EXPECT_EQ(look.PressShift(), (UiPoint{0, 2}));
    EXPECT_EQ(look.SetPressShift(2), BTNST_INVALIDPRESSEDSTYLE);
    EXPECT_EQ(look.PressShift(), (UiPoint{0, 2}));

    look.SetDefaultColors(kFace, kText);
    for (int slot = 0; slot < BTNST_MAX_COLORS; ++slot)
        EXPECT_EQ(look.Color(slot), slot % 2 ? kText : kFace);
}

TEST(ButtonLook, GreyLevelOfIconPixels)
{
    EXPECT_EQ(GrayLevel(0, 0, 0), 0u);
    EXPECT_EQ(GrayLevel(255, 0, 0), 76u);
    EXPECT_EQ(GrayLevel(0, 255, 0), 149u);
    EXPECT_EQ(GrayLevel(0, 0, 255), 29u);
    EXPECT_EQ(GrayLevel(100, 150, 200), 140u);
    EXPECT_LE(GrayLevel(255, 255, 255), 255u);
}

TEST(ButtonLook, HotTrackingOnlyOnFlatButtons)
{
    ButtonLook look(kFace, kText);
    EXPECT_FALSE(look.TrackMouse(true, true));  // dragged onto it: not hot
    EXPECT_FALSE(look.IsHot());
    EXPECT_TRUE(look.TrackMouse(true, false));
    EXPECT_TRUE(look.IsHot());
    EXPECT_FALSE(look.TrackMouse(true, false));  // already hot: no repaint
    EXPECT_FALSE(look.TrackMouse(true, true));  // held while hot stays hot
    EXPECT_TRUE(look.IsHot());
    EXPECT_TRUE(look.TrackMouse(false, false));
    EXPECT_FALSE(look.IsHot());
    EXPECT_FALSE(look.EndHot());

    look.SetFlat(false);
    EXPECT_FALSE(look.TrackMouse(true, false));
    EXPECT_FALSE(look.IsHot());
}

TEST(ButtonLook, PartsOfAPaintFollowTheState)
{
    ButtonLook look(kFace, kText);
    look.ShiftColor(BTNST_COLOR_BK_IN, 30);
    look.ShiftColor(BTNST_COLOR_BK_FOCUS, -40);
    const COLORREF in = look.Color(BTNST_COLOR_BK_IN);
    const COLORREF focus = look.Color(BTNST_COLOR_BK_FOCUS);

    ButtonDrawState normal;
    ButtonDrawState focused;
    focused.focused = true;
    ButtonDrawState defaulted;
    defaulted.isDefault = true;

    EXPECT_EQ(look.BackgroundColor(normal), kFace);
    EXPECT_EQ(look.BackgroundColor(focused), focus);
    EXPECT_EQ(look.BackgroundColor(Pressed()), in);
    EXPECT_EQ(look.Border(normal), ButtonBorder::None);  // flat, not hot
    EXPECT_EQ(look.Border(Pressed()), ButtonBorder::Sunken);
    EXPECT_FALSE(look.HasBlackFrame(defaulted));  // flat buttons have none
    EXPECT_FALSE(look.DrawsFocusRect(focused));

    look.TrackMouse(true, false);
    EXPECT_EQ(look.BackgroundColor(focused), in);  // hot wins over focused
    EXPECT_EQ(look.Border(normal), ButtonBorder::Raised);

    look.EndHot();
    look.SetFlat(false);
    EXPECT_EQ(look.Border(normal), ButtonBorder::Raised);
    EXPECT_TRUE(look.HasBlackFrame(defaulted));
    EXPECT_TRUE(look.HasBlackFrame(focused));
    EXPECT_FALSE(look.HasBlackFrame(normal));
    EXPECT_TRUE(look.DrawsFocusRect(focused));
    EXPECT_EQ(ButtonLook::FocusRect({0, 0, 40, 20}), (UiRect{3, 3, 37, 17}));
}

TEST(ButtonLook, ThemeStateOrder)
{
    ButtonLook look(kFace, kText);
    struct Case {
        bool disabled, pressed, hot, isDefault;
        int expected;
    };
    const Case cases[] = {
        {false, false, false, false, PBS_NORMAL}, {false, false, false, true, PBS_DEFAULTED},
        {false, false, true, true, PBS_HOT},      {false, true, true, true, PBS_PRESSED},
        {true, true, true, true, PBS_DISABLED},   {true, false, false, true, PBS_DISABLED},
    };
    for (const Case& c : cases) {
        ButtonLook probe(kFace, kText);
        if (c.hot)
            probe.TrackMouse(true, false);
        ButtonDrawState state;
        state.disabled = c.disabled;
        state.pressed = c.pressed;
        state.isDefault = c.isDefault;
        EXPECT_EQ(probe.ThemeState(state), c.expected) << c.disabled << c.pressed << c.hot << c.isDefault;
    }
}

TEST(ButtonLook, OutImageOnlyWhenNeitherPressedNorHot)
{
    ButtonLook look(kFace, kText);
    const ButtonDrawState normal;
    ButtonDrawState checkBox;
    checkBox.checkBox = true;
    EXPECT_TRUE(look.UsesOutImage(normal, true));
    EXPECT_FALSE(look.UsesOutImage(normal, false));
    EXPECT_FALSE(look.UsesOutImage(Pressed(), true));
    look.TrackMouse(true, false);
    EXPECT_FALSE(look.UsesOutImage(normal, true));
    EXPECT_TRUE(look.UsesOutImage(checkBox, true));  // a check box ignores the pointer
}

TEST(ButtonLook, ImagePlacementByAlignment)
{
    const UiRect item{0, 0, 100, 30};
    const UiSize image{16, 10};
    struct Case {
        std::uint8_t align;
        bool caption;
        UiRect image;
        UiRect caption_rect;
    };
    const Case cases[] = {
        {ST_ALIGN_HORIZ, true, {3, 10, 19, 20}, {19, 0, 100, 30}},
        {ST_ALIGN_HORIZ, false, {42, 10, 58, 20}, item},
        {ST_ALIGN_VERT, true, {42, 3, 58, 13}, {0, 10, 100, 30}},
        {ST_ALIGN_VERT, false, {42, 10, 58, 20}, item},
        {ST_ALIGN_HORIZ_RIGHT, true, {81, 10, 97, 20}, {3, 0, 81, 30}},
        {ST_ALIGN_HORIZ_RIGHT, false, {42, 0, 58, 10}, item},
        {ST_ALIGN_OVERLAP, true, {0, 0, 16, 10}, item},
    };
    for (const Case& c : cases) {
        ButtonLook look(kFace, kText);
        look.SetAlignment(c.align);
        const ButtonImageLayout layout = look.PlaceImage(item, item.right, image, c.caption, ButtonDrawState{});
        EXPECT_EQ(layout.image, c.image) << int(c.align) << c.caption;
        EXPECT_EQ(layout.caption, c.caption_rect) << int(c.align) << c.caption;
    }
}

TEST(ButtonLook, APushButtonMovesWhenPressedACheckBoxDoesNot)
{
    ButtonLook look(kFace, kText);
    const UiRect item{0, 0, 100, 30};
    const UiRect still = look.PlaceImage(item, 100, {16, 10}, true, ButtonDrawState{}).image;
    EXPECT_EQ(look.PlaceImage(item, 100, {16, 10}, true, Pressed()).image, still.Offset(1, 1));
    EXPECT_EQ(look.PlaceImage(item, 100, {16, 10}, true, Pressed(true)).image, still);
    EXPECT_EQ(look.CaptionRect(item, Pressed()), item.Offset(1, 1));
    EXPECT_EQ(look.CaptionRect(item, Pressed(true)), item);
    look.SetPressShift(BTNST_PRESSED_TOPBOTTOM);
    EXPECT_EQ(look.CaptionRect(item, Pressed()), item.Offset(0, 2));
}
