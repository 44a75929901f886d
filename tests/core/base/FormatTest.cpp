#include "core/base/ColorRef.h"
#include "core/base/Format.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <limits>

TEST(Format, RendersPrintfFormatsOfAnyLength)
{
    EXPECT_EQ(Format("%-44s%29s", "Vendor", "HL-DT-ST").size(), 73u);
    EXPECT_EQ(Format("%02Xh", 0x2A), "2Ah");
    const std::string longText(1000, 'x');
    EXPECT_EQ(Format("<%s>", longText.c_str()), "<" + longText + ">");
    EXPECT_EQ(Format("%s", ""), "");
}

TEST(Format, NumbersUseTheCLocaleWhateverTheProcessLocale)
{
    ScopedCommaLocale comma;
    if (!comma.Ok())
        GTEST_SKIP() << "no comma-decimal locale can be built on this machine";
    EXPECT_EQ(Format("Program Version %.3f", 6.15), "Program Version 6.150");
    double value = 0;
    EXPECT_TRUE(ParseDouble("8.2", value));
    EXPECT_DOUBLE_EQ(value, 8.2);
    EXPECT_FALSE(ParseDouble("8,2", value));
}

TEST(Format, ParseLongAcceptsWholeNumbersOnly)
{
    struct Case {
        const char* text;
        bool ok;
        long value;
    };
    const Case cases[] = {{"12", true, 12},  {" -7 ", true, -7}, {"", false, 0},
                          {"12x", false, 0}, {"x12", false, 0},  {"99999999999999999999999", false, 0}};
    for (const Case& c : cases) {
        long value = 0;
        EXPECT_EQ(ParseLong(c.text, value), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(value, c.value) << c.text;
        }
    }
}

TEST(Format, LeadingNumbersReadLikeAtoiAndAtof)
{
    EXPECT_EQ(LeadingLong(" 42abc"), 42);
    EXPECT_EQ(LeadingLong("-7"), -7);
    EXPECT_EQ(LeadingLong("abc"), 0);
    EXPECT_EQ(LeadingLong(""), 0);
    EXPECT_EQ(LeadingLong("1A2B", 16), 0x1A2B);
    EXPECT_EQ(LeadingLong("99999999999999999999999"), std::numeric_limits<long>::max());
    EXPECT_DOUBLE_EQ(LeadingDouble("7.5%"), 7.5);
    EXPECT_DOUBLE_EQ(LeadingDouble("---"), 0.0);
}

TEST(ColorRef, ChannelsAreStoredAsBBGGRR)
{
    static_assert(RGB(0x12, 0x34, 0x56) == 0x00563412u);
    static_assert(GetRValue(0x00563412u) == 0x12 && GetGValue(0x00563412u) == 0x34 && GetBValue(0x00563412u) == 0x56);
    static_assert(HalfIntensity(RGB(255, 128, 1)) == RGB(127, 64, 0));
    SUCCEED();
}
