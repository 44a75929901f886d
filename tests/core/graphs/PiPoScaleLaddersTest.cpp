#include "core/graphs/PiPoBands.h"
#include "core/graphs/PiPoScaleLadders.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(PiPoScaleLadders, PIAndPIFCodesGiveTheirFactorsAndBack)
{
    struct Case {
        int code;
        std::optional<float> pi;
        std::optional<float> pif;
        int codeBackPI;
        int codeBackPIF;
    };
    // clang-format off
    const Case cases[] = {
        {-3, 16.0f, 16.0f, 2, 2},    {0, 16.0f, 16.0f, 2, 2},       {1, 16.0f, 16.0f, 2, 2},
        {2, 16.0f, 16.0f, 2, 2},     {3, 8.0f, 8.0f, 3, 3},         {4, 4.0f, 4.0f, 4, 4},
        {5, 2.0f, 2.0f, 5, 5},       {6, 1.0f, 1.0f, 6, 6},         {7, 0.5f, 0.5f, 7, 7},
        {8, 0.25f, 0.25f, 8, 8},     {9, 0.125f, 0.125f, 9, 9},     {10, 0.0625f, 0.0625f, 10, 10},
        {11, std::nullopt, 10.0f, 0, 11}, {12, std::nullopt, std::nullopt, 0, 0},
    };
    // clang-format on
    for (const Case& c : cases) {
        EXPECT_EQ(PIScaleFactor(c.code), c.pi) << c.code;
        EXPECT_EQ(PIFScaleFactor(c.code), c.pif) << c.code;
        if (c.pi) {
            EXPECT_EQ(PIScaleCode(*c.pi), c.codeBackPI) << c.code;
        }
        if (c.pif) {
            EXPECT_EQ(PIFScaleCode(*c.pif), c.codeBackPIF) << c.code;
        }
    }
    // A factor of the PIF-only step is no PI code; factors off the ladder,
    // and those a foreign file may hold, are code 0.
    EXPECT_EQ(PIScaleCode(10.0f), 0);
    for (const float odd : {3.0f, 0.0f, -16.0f, 1.0e30f, std::numeric_limits<float>::infinity(),
                            std::numeric_limits<float>::quiet_NaN()}) {
        EXPECT_EQ(PIScaleCode(odd), 0) << odd;
        EXPECT_EQ(PIFScaleCode(odd), 0) << odd;
    }
}

TEST(PiPoScaleLadders, SpeedBandsAndJitterCodes)
{
    EXPECT_EQ(SpeedScaleFactor(0), 4.0f);
    EXPECT_EQ(SpeedScaleFactor(1), 2.0f);
    EXPECT_EQ(SpeedScaleFactor(2), 1.0f);
    EXPECT_EQ(SpeedScaleFactor(3), 0.5f);
    EXPECT_EQ(SpeedScaleFactor(4), std::nullopt);
    EXPECT_EQ(SpeedScaleFactor(-1), std::nullopt);

    const float jitter[] = {4.0f, 4.0f, 4.0f, 1.6f, 0.8f, 0.4f, 0.2f};
    for (int code = 0; code <= 6; ++code) {
        EXPECT_EQ(JitterScaleFactor(code), jitter[code]) << code;
        EXPECT_EQ(JitterScaleCode(jitter[code]), code < 2 ? 2 : code) << code;
    }
    EXPECT_EQ(JitterScaleFactor(7), std::nullopt);
    // Compared as single floats: the double 1.6 is no code.
    EXPECT_EQ(JitterScaleCode(static_cast<float>(1.6000001)), 0);
    EXPECT_EQ(JitterScaleCode(1.0f), 0);
}

TEST(PiPoBands, BandEdgesAndColours)
{
    struct Case {
        int value;
        int band;
    };
    for (const Case c : {Case{-5, 1},
                         {0, 1},
                         {8, 1},
                         {9, 2},
                         {112, 14},
                         {113, 15},
                         {120, 15},
                         {121, 16},
                         {136, 17},
                         {137, 18},
                         {248, 31},
                         {249, 32},
                         {std::numeric_limits<int>::max(), 32}})
        EXPECT_EQ(UpperBand(c.value), c.band) << c.value;
    for (const Case c : {Case{0, 1},
                         {2, 1},
                         {3, 2},
                         {16, 8},
                         {17, 9},
                         {18, 9},
                         {19, 10},
                         {32, 16},
                         {33, 17},
                         {std::numeric_limits<int>::max(), 17}})
        EXPECT_EQ(LowerBand(c.value), c.band) << c.value;

    // Green, red rising to yellow, green falling to red (0x00BBGGRR).
    EXPECT_EQ(UpperBandColor(1), 0x00FF00u);
    EXPECT_EQ(UpperBandColor(2), 0x00FF10u);
    EXPECT_EQ(UpperBandColor(14), 0x00FFD0u);
    EXPECT_EQ(UpperBandColor(15), 0x00FFF0u);
    EXPECT_EQ(UpperBandColor(16), 0x00FFFFu);
    EXPECT_EQ(UpperBandColor(17), 0x00FFFFu);
    EXPECT_EQ(UpperBandColor(18), 0x00F0FFu);
    EXPECT_EQ(UpperBandColor(19), 0x00D0FFu);
    EXPECT_EQ(UpperBandColor(31), 0x0010FFu);
    EXPECT_EQ(UpperBandColor(32), 0x0000FFu);

    EXPECT_EQ(LowerBandColor(1), 0x00FF00u);
    EXPECT_EQ(LowerBandColor(2), 0x00FF20u);
    EXPECT_EQ(LowerBandColor(8), 0x00FFE0u);
    EXPECT_EQ(LowerBandColor(9), 0x00FFFFu);
    EXPECT_EQ(LowerBandColor(10), 0x00E0FFu);
    EXPECT_EQ(LowerBandColor(16), 0x0020FFu);
    EXPECT_EQ(LowerBandColor(17), 0x0000FFu);
}
