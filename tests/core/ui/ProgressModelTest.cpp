#include "core/ui/ProgressModel.h"

#include <gtest/gtest.h>

TEST(ProgressModel, TextShowsThePercentageOrTheOwnersText)
{
    struct Case {
        int lower, upper, position;
        const char* expected;
    };
    const Case cases[] = {
        {0, 100, 0, "0 % Complete"},  {0, 100, 42, "42 % Complete"}, {0, 100, 100, "100 % Complete"},
        {0, 3, 2, "66 % Complete"},   {-50, 50, 0, "50 % Complete"}, {0, 100, 150, "100 % Complete"},
        {0, 100, -5, "0 % Complete"}, {5, 5, 5, "0 % Complete"},
    };
    for (const Case& c : cases) {
        ProgressModel model;
        model.SetRange(c.lower, c.upper);
        model.SetPos(c.position, 200);
        EXPECT_EQ(model.DisplayText(), c.expected) << c.lower << ".." << c.upper << " at " << c.position;
    }
    ProgressModel owned;
    owned.SetText("Verifying");
    EXPECT_EQ(owned.DisplayText(), "Verifying");
}

TEST(ProgressModel, PositionIsKeptInsideTheRange)
{
    ProgressModel model;
    EXPECT_EQ(model.SetPos(150, 100), 0);
    EXPECT_EQ(model.Pos(), 100);
    EXPECT_EQ(model.SetPos(-3, 100), 100);
    EXPECT_EQ(model.Pos(), 0);
    model.SetStep(30);
    model.StepIt(100);
    model.StepIt(100);
    model.StepIt(100);
    model.StepIt(100);
    EXPECT_EQ(model.Pos(), 100);
    model.OffsetPos(-2147483647, 100);
    EXPECT_EQ(model.Pos(), 0);
    model.SetPos(80, 100);
    model.SetRange(0, 50);  // a narrower range pulls the position in
    EXPECT_EQ(model.Pos(), 50);
    EXPECT_EQ(model.SetStep(5), 30);
}

TEST(ProgressModel, RedrawsOnlyWhenTheBarLengthChanges)
{
    ProgressModel model;
    bool redraw = false;
    model.SetPos(10, 50, &redraw);
    EXPECT_TRUE(redraw);
    model.SetPos(10, 50, &redraw);
    EXPECT_FALSE(redraw);  // same position
    model.SetPos(11, 50, &redraw);
    EXPECT_FALSE(redraw);  // 5.5 pixels: still 5
    model.SetPos(12, 50, &redraw);
    EXPECT_TRUE(redraw);
    model.Resized();
    model.SetPos(12, 80, &redraw);
    EXPECT_TRUE(redraw);
}

TEST(ProgressModel, EmptyRangeDrawsNothingAndNeverDivides)
{
    ProgressModel model;
    model.SetRange(5, 5);
    bool redraw = true;
    model.SetPos(7, 200, &redraw);
    EXPECT_FALSE(model.IsDrawable());
    EXPECT_EQ(model.Fraction(), 0.0);
    model.SetRange(9, 3);
    EXPECT_FALSE(model.IsDrawable());
    EXPECT_EQ(model.Fraction(), 0.0);
}

TEST(ProgressModel, BarAndRestSplitTheTrack)
{
    ProgressModel model;
    model.SetPos(25, 0);
    const UiRect client{0, 0, 200, 20};
    const auto across = model.Split(client, false);
    EXPECT_EQ(across.bar, (UiRect{0, 0, 50, 20}));
    EXPECT_EQ(across.rest, (UiRect{50, 0, 200, 20}));
    const auto up = model.Split({0, 0, 20, 200}, true);
    EXPECT_EQ(up.bar, (UiRect{0, 150, 20, 200}));
    EXPECT_EQ(up.rest, (UiRect{0, 0, 20, 150}));
}

TEST(ProgressModel, TextTakesTheColourOfTheOtherPart)
{
    ProgressModel model;
    constexpr COLORREF highlight = 0x0000FF;
    constexpr COLORREF window = 0xFFFFFF;
    EXPECT_EQ(model.BarColor(highlight), highlight);
    EXPECT_EQ(model.BkColor(window), window);
    EXPECT_EQ(model.SetBarColor(0x00FF00), CLR_DEFAULT);
    EXPECT_EQ(model.BarColor(highlight), 0x00FF00u);
    EXPECT_EQ(model.TextColorOverBar(window), window);
    EXPECT_EQ(model.TextColorOverRest(0x00FF00), 0x00FF00u);
    model.SetTextColor(0x123456);
    EXPECT_EQ(model.TextColorOverBar(window), 0x123456u);
    EXPECT_EQ(model.TextColorOverRest(0x00FF00), 0x123456u);
}
