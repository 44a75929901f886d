#include "core/base/AppProfile.h"
#include "core/ui/CharFilter.h"
#include "core/ui/ColorSchemes.h"
#include "core/ui/TextLimit.h"
#include "core/ui/Translucency.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

TEST(CharFilter, LetsOnlyDigitsOfTheModeThrough)
{
    struct Case {
        bool hex;
        char32_t character;
        bool accepted;
    };
    const Case cases[] = {
        {true, 'a', true},   {true, 'F', true},    {true, '7', true},   {true, 'g', false},
        {true, '-', false},  {true, ' ', false},   {true, '\b', false}, {true, 0, false},
        {true, U'ä', false}, {true, 0x141, false},  // 'A' + 0x100 must not alias to 'A'
        {false, '7', true},  {false, 'a', false},  {false, 'F', false}, {false, '0', true},
    };
    for (const Case& c : cases) {
        CharFilter filter;
        filter.SetHexMode(c.hex);
        EXPECT_EQ(filter.Accepts(c.character), c.accepted) << c.hex << " " << static_cast<unsigned>(c.character);
    }
    CharFilter fresh;
    EXPECT_TRUE(fresh.IsHexMode());
}

TEST(ColorSchemes, NineSchemesAndTheDefault)
{
    struct Case {
        int scheme;
        LedColorScheme colors;
    };
    const Case cases[] = {
        {0, {0xCEFF63, 0x000000, 0xB5E161}}, {1, {0x000000, 0xFFDC06, 0x645000}},  {2, {0x000000, 0x00FFB1, 0x005000}},
        {3, {0x8BB7B3, 0x000000, 0x6CA49E}}, {4, {0x000000, 0x00B4FF, 0x003750}},  {5, {0x000000, 0xFF50FF, 0x503250}},
        {6, {0x000000, 0x0A46FF, 0x002350}}, {7, {0x000000, 0xFFFFFF, 0x505050}},  {8, {0x000000, 0x00F2FF, 0x003750}},
        {9, {0x000000, 0xFFDC06, 0x645000}}, {-1, {0x000000, 0xFFDC06, 0x645000}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GetColorScheme(c.scheme), c.colors) << c.scheme;
}

TEST(ColorSchemes, SchemeNumbersFollowTheSortedNames)
{
    std::vector<std::string> names;
    for (int i = 0; i < kColorSchemeCount; ++i)
        names.push_back(ColorSchemeName(i));
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end()));
    EXPECT_EQ(names.front(), "Backlit LCD");
    EXPECT_EQ(ColorSchemeName(kDefaultColorScheme), "Blue Plasma");
}

TEST(ColorSchemes, ReadFromTheProfile)
{
    ScopedProfile profile;
    EXPECT_EQ(ReadColorScheme(), GetColorScheme(1));  // absent
    WriteAppProfileInt("Colors", 6);
    EXPECT_EQ(ReadColorScheme(), GetColorScheme(6));
    WriteAppProfileInt("Colors", 9);
    EXPECT_EQ(ReadColorScheme(), GetColorScheme(1));
}

TEST(Translucency, OpaqueUnlessBelow255AndNeverInvisible)
{
    struct Case {
        int value;
        std::optional<int> alpha;
    };
    const Case cases[] = {
        {255, std::nullopt}, {300, std::nullopt}, {254, 254}, {200, 200}, {127, 127}, {126, 127}, {0, 127}, {-1, 127},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TranslucencyAlpha(c.value), c.alpha) << c.value;

    ScopedProfile profile;
    EXPECT_EQ(ReadTranslucencyAlpha(), std::nullopt);
    WriteAppProfileInt("Translucency", 200);
    EXPECT_EQ(ReadTranslucencyAlpha(), 200);
}

TEST(TextLimit, CutsWholeCharacters)
{
    struct Case {
        const char* text;
        std::size_t limit;
        const char* expected;
    };
    const Case cases[] = {
        {"abcdef", 3, "abc"}, {"abc", 3, "abc"},   {"ab", 3, "ab"},       {"", 3, ""},
        {"abc", 0, ""},       {"Grüße", 3, "Grü"}, {"Grüße", 5, "Grüße"}, {"\xF0\x9F\x92\xBF!", 1, "\xF0\x9F\x92\xBF"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CutToCharacters(c.text, c.limit), c.expected) << c.text << " " << c.limit;
}
