#include "core/pipo/ScanScales.h"

#include <gtest/gtest.h>

using Captions = std::array<std::string, 4>;

TEST(ScanScales, LeftAxesByCode)
{
    struct Case {
        int code;
        Captions captions;
        int fullScale;
        float factor;
    };
    const Case cases[] = {
        {2, {"8", "6", "4", "2"}, 10, 16.0f},
        {3, {"16", "12", "8", "4"}, 20, 8.0f},
        {4, {"32", "24", "16", "8"}, 40, 4.0f},
        {5, {"64", "48", "32", "16"}, 80, 2.0f},
        {6, {"128", "96", "64", "32"}, 160, 1.0f},
        {7, {"256", "192", "128", "64"}, 320, 0.5f},
        {8, {"512", "384", "256", "128"}, 640, 0.25f},
        {9, {"1024", "768", "512", "256"}, 1280, 0.125f},
        {10, {"2048", "1536", "1024", "512"}, 2560, 0.0625f},
    };
    for (const Case& c : cases) {
        ScanScales scales;
        PiPoUpperGraph upper;
        PiPoLowerGraph lower;
        EXPECT_EQ(scales.SetUpperScale(c.code, &upper), c.code);
        EXPECT_EQ(scales.SetLowerScale(c.code, &lower), c.code);
        EXPECT_EQ(scales.Upper().captions, c.captions) << c.code;
        EXPECT_EQ(scales.Lower().captions, c.captions) << c.code;
        EXPECT_EQ(scales.Upper().fullScale, c.fullScale) << c.code;
        EXPECT_FALSE(scales.Upper().automatic) << c.code;
        EXPECT_EQ(upper.Snapshot().data.piFactor, c.factor) << c.code;
        EXPECT_EQ(lower.Snapshot().data.pifFactor, c.factor) << c.code;
    }
}

TEST(ScanScales, AutomaticCodesAndCodesBeyondTheLadder)
{
    ScanScales scales;
    PiPoUpperGraph upper;
    scales.SetUpperScale(1, &upper);
    EXPECT_TRUE(scales.Upper().automatic);
    EXPECT_EQ(scales.Upper().fullScale, 10);
    EXPECT_EQ(scales.Upper().captions, (Captions{"8", "6", "4", "2"}));

    scales.SetUpperScale(5, &upper);
    EXPECT_EQ(scales.SetUpperScale(11, &upper), 11);
    EXPECT_EQ(scales.Upper().captions, (Captions{"64", "48", "32", "16"})) << "code 11 changes no caption";
    EXPECT_EQ(upper.Snapshot().data.piFactor, 2.0f);
    EXPECT_EQ(scales.SetUpperScale(-1, nullptr), 11) << "but is remembered";

    PiPoLowerGraph lower;
    scales.SetLowerScale(11, &lower);
    EXPECT_EQ(lower.Snapshot().data.pifFactor, 10.0f) << "the PIF graph knows code 11";
    scales.SetLowerScale(4, nullptr);
    ScanScales other;
    EXPECT_EQ(other.SetLowerScale(-1, nullptr), 4) << "the last code is the process's";
    EXPECT_EQ(other.Lower().captions, (Captions{"32", "24", "16", "8"}));
}

TEST(ScanScales, AutoPeakPicksTheSmallestScaleThatHoldsThePeak)
{
    struct Case {
        int peak;
        int code;
        int fullScale;
    };
    for (const Case c : {Case{0, 2, 10},
                         {10, 2, 10},
                         {11, 3, 20},
                         {20, 3, 20},
                         {21, 4, 40},
                         {640, 8, 640},
                         {641, 9, 1280},
                         {1281, 10, 2560},
                         {100000, 10, 2560}}) {
        ScanScales scales;
        PiPoUpperGraph graph;
        scales.OnSelchangePIScale(0, c.peak, &graph);
        EXPECT_EQ(scales.Upper().code, c.code) << c.peak;
        EXPECT_EQ(scales.Upper().fullScale, c.fullScale) << c.peak;
        EXPECT_TRUE(scales.Upper().automatic);
        EXPECT_TRUE(scales.Upper().automaticByPeak);
        EXPECT_EQ(graph.GetPIScaleCode(), c.code) << c.peak;
    }
    ScanScales scales;
    scales.OnSelchangePIScale(0, 11, nullptr);
    EXPECT_EQ(scales.Upper().captions, (Captions{"16", "12", "8", "4"}));
    scales.OnSelchangePIScale(1, 500, nullptr);
    EXPECT_EQ(scales.Upper().fullScale, 10) << "Auto Avg";
    EXPECT_TRUE(scales.Upper().automatic);
    EXPECT_FALSE(scales.Upper().automaticByPeak);
    scales.OnSelchangePIScale(6, 500, nullptr);
    EXPECT_FALSE(scales.Upper().automatic);
    EXPECT_EQ(scales.Upper().fullScale, 160);

    PiPoLowerGraph lower;
    scales.OnSelchangePIFScale(0, 41, &lower);
    EXPECT_EQ(scales.Lower().code, 5);
    EXPECT_EQ(lower.GetPIFScaleCode(), 5);
}

TEST(ScanScales, JitterAxisByCodeAndChoice)
{
    struct Case {
        int code;
        Captions captions;
        int fullScale;
        bool automatic;
        int graphCode;
    };
    const Case cases[] = {
        {0, {"1%", "2%", "3%", "4%"}, 40, true, 2},       {1, {"1%", "2%", "3%", "4%"}, 40, true, 2},
        {2, {"1%", "2%", "3%", "4%"}, 40, false, 2},      {3, {"2%", "4%", "6%", "8%"}, 100, false, 3},
        {4, {"4%", "8%", "12%", "16%"}, 200, false, 4},   {5, {"8%", "16%", "24%", "32%"}, 400, false, 5},
        {6, {"16%", "32%", "48%", "64%"}, 800, false, 6},
    };
    for (const Case& c : cases) {
        ScanScales scales;
        PiPoLowerGraph graph;
        EXPECT_EQ(scales.SetJitterAxis(c.code, &graph), c.code);
        EXPECT_EQ(scales.Jitter().captions, c.captions) << c.code;
        EXPECT_EQ(scales.Jitter().fullScale, c.fullScale) << c.code;
        EXPECT_EQ(scales.Jitter().automatic, c.automatic) << c.code;
        EXPECT_EQ(graph.GetJitterScaleCode(), c.graphCode) << c.code;
    }

    ScanScales scales;
    scales.SetJitterAxis(5, nullptr);
    EXPECT_EQ(scales.SetJitterAxis(-3, nullptr), -3);
    EXPECT_EQ(scales.SetJitterAxis(-1, nullptr), 5) << "a negative code is not remembered";
    EXPECT_EQ(scales.Jitter().fullScale, 400);

    struct Choice {
        int index;
        int code;
        int fullScale;
        bool automatic;
        bool byPeak;
    };
    for (const Choice c : {Choice{0, 3, 20, true, true}, {1, 1, 20, true, false}, {4, 4, 200, false, false}}) {
        ScanScales choice;
        PiPoLowerGraph graph;
        choice.ApplyJitterScaleChoice(c.index, &graph);
        EXPECT_EQ(choice.Jitter().code, c.code) << c.index;
        EXPECT_EQ(choice.Jitter().fullScale, c.fullScale) << c.index;
        EXPECT_EQ(choice.Jitter().automatic, c.automatic) << c.index;
        EXPECT_EQ(choice.Jitter().automaticByPeak, c.byPeak) << c.index;
        EXPECT_EQ(graph.Snapshot().data.jitterScaleCode, c.code) << c.index;
    }
}

TEST(ScanScales, SpeedAxisBands)
{
    struct Case {
        double speed;
        double used;
        int band;
        Captions captions;
    };
    const Case cases[] = {
        {0, 0, 0, {"1x", "2x", "3x", "4x"}},       {4.0, 4.0, 0, {"1x", "2x", "3x", "4x"}},
        {4.01, 4.01, 1, {"2x", "4x", "6x", "8x"}}, {16, 16, 2, {"4x", "8x", "12x", "16x"}},
        {32, 32, 3, {"8x", "16x", "24x", "32x"}},  {33, 0, 0, {"1x", "2x", "3x", "4x"}},
    };
    for (const Case& c : cases) {
        ScanScales scales;
        PiPoUpperGraph graph;
        EXPECT_EQ(scales.SetSpeedAxis(c.speed, &graph), c.used) << c.speed;
        EXPECT_EQ(scales.SpeedBand(), c.band) << c.speed;
        EXPECT_EQ(scales.SpeedCaptions(), c.captions) << c.speed;
        EXPECT_EQ(graph.Snapshot().data.speedFactor, *SpeedScaleFactor(c.band)) << c.speed;
    }
    ScanScales scales;
    scales.SetSpeedAxis(12, nullptr);
    EXPECT_EQ(scales.SetSpeedAxis(-1, nullptr), -1);
    EXPECT_EQ(scales.SpeedBand(), 2) << "a negative speed changes nothing";
}

TEST(ScanScales, SeriesTogglesShowAndEnableTheirControls)
{
    ScanShowFlags show;
    show.showPIF = 0;
    show.showSpeed = 0;
    SeriesToggleControls controls = ControlsForSeriesToggles(show, false);
    EXPECT_FALSE(controls.pifRadiosEnabled);
    EXPECT_FALSE(controls.lowerLeftCaptionsShown);
    EXPECT_FALSE(controls.speedCaptionsShown);
    EXPECT_TRUE(controls.piRadiosEnabled);
    EXPECT_TRUE(controls.upperLeftCaptionsShown);
    EXPECT_EQ(controls.jitterModeEnabled, true);

    EXPECT_EQ(ControlsForSeriesToggles(ScanShowFlags(), true).jitterModeEnabled, std::nullopt)
        << "left alone while a scan runs";
    show.showJitter = 0;
    controls = ControlsForSeriesToggles(show, true);
    EXPECT_EQ(controls.jitterModeEnabled, false);
    EXPECT_FALSE(controls.jitterCaptionsShown);
}

TEST(ScanScales, LayerAddress)
{
    EXPECT_EQ(GetLayerAddress(0x1000, 0x200000, 0xFFFFFF), 0x31000u);
    EXPECT_EQ(GetLayerAddress(0x500000, 0x200000, 0xFFFFFF), 0x0FFFFEu);
    EXPECT_EQ(GetLayerAddress(0x300000, 0x200000, 0xFFFFFF), (0x300000u - 0x400002u) & 0xFFFFFFu);
}
