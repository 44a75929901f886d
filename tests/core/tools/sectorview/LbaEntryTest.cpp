#include "core/tools/sectorview/LbaEntry.h"

#include <gtest/gtest.h>

namespace {

TEST(LbaEntry, SendAndStepInEitherRadix)
{
    struct Case {
        bool decimal;
        const char* text;
        bool forward;
        std::uint32_t sent;
        const char* after;
    };
    for (const Case& c :
         {Case{false, "1f", true, 0x1F, "20"}, Case{true, "100", false, 100, "99"},
          Case{false, "FF", true, 0xFF, "100"}, Case{false, "12xz", true, 0x12, "13"}, Case{true, "7a", true, 7, "8"},
          Case{false, "0", false, 0, "0"}, Case{false, "ffffffff", true, 0xFFFFFFFF, "ffffffff"}}) {
        SCOPED_TRACE(c.text);
        LbaEntry entry;
        if (c.decimal)
            entry.OnDecimal();
        entry.SetText(c.text);
        std::string message;
        ASSERT_EQ(entry.Send(message), c.sent);
        if (c.forward)
            entry.NextLBA();
        else
            entry.PrevLBA();
        EXPECT_EQ(entry.Text(), c.after);
    }
}

TEST(LbaEntry, RefusesNoAddress)
{
    for (const char* text : {"", "x1", "100000000"}) {
        LbaEntry entry;
        entry.SetText(text);
        std::string message;
        EXPECT_FALSE(entry.Send(message)) << text;
        EXPECT_EQ(message, "Enter a valid LBA");
    }
}

TEST(LbaEntry, RadixButtonsConvertOnce)
{
    LbaEntry entry;
    entry.SetText("1f");
    entry.OnDecimal();
    EXPECT_EQ(entry.Text(), "31");
    entry.OnDecimal();
    EXPECT_EQ(entry.Text(), "31");
    entry.SetText("255");
    entry.OnHex();
    EXPECT_EQ(entry.Text(), "ff");
    EXPECT_TRUE(entry.IsHex());
    entry.RemoveLastCharacter();
    EXPECT_EQ(entry.Text(), "f");
}

TEST(LbaSlide, SlidesOutDocksAndSlidesBack)
{
    const UiRect main{100, 50, 850, 650};
    LbaSlide slide;
    EXPECT_TRUE(slide.Hidden());
    EXPECT_EQ(slide.StartSlide(), 50);
    EXPECT_FALSE(slide.Hidden());
    std::vector<LbaSlide::Step> steps;
    do
        steps.push_back(slide.OnTimer(main));
    while (steps.back().nextTimerMs > 0);
    // 25 moves 9 pixels apart, 25 ms apart, then docked.
    ASSERT_EQ(steps.size(), 26u);
    EXPECT_EQ(steps[0].place, (UiRect{850 - 233 + 9, 480, 850 + 9, 546}));
    EXPECT_EQ(steps[1].place.left - steps[0].place.left, 9);
    EXPECT_EQ(steps[1].nextTimerMs, 25);
    EXPECT_EQ(steps.back().kind, LbaSlide::Step::Kind::Dock);
    EXPECT_EQ(steps.back().place, (UiRect{850, 480, 1083, 548}));

    // Close halfway back starts over from the first step the other way.
    slide.StartSlide();
    for (int i = 0; i < 10; ++i)
        slide.OnTimer(main);
    EXPECT_EQ(slide.StartSlide(), 50);
    EXPECT_EQ(slide.OnTimer(main).place.left, 850 - 233 + 9);
    slide.StartSlide();
    LbaSlide::Step step;
    int moves = 0;
    do {
        step = slide.OnTimer(main);
        ++moves;
    } while (step.nextTimerMs > 0);
    EXPECT_EQ(moves, 25);
    EXPECT_EQ(step.kind, LbaSlide::Step::Kind::Hide);
    EXPECT_TRUE(slide.Hidden());
}

}  // namespace
