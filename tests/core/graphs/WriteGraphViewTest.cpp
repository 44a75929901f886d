#include "core/graphs/WriteGraphFile.h"
#include "core/graphs/WriteGraphView.h"
#include "support/WriteGraphFixture.h"

#include <gtest/gtest.h>

TEST(WriteGraphView, ALoadedFileGoesOnTheGraphWithItsLinesAndFlags)
{
    WriteGraphFile file;
    ASSERT_EQ(file.LoadGraphText(WriteGraphFixture::Medium("BD-R", 24438784, 0, 20000000).Text()), 0);
    RateGraph plot;
    plot.AddSpeedPoint(10, 10);  // what was there before goes
    int repaints = 0;
    plot.SetRepaintHook([&] { ++repaints; });
    ShowWriteGraph(file.Graph(), plot);
    const RateGraphState s = plot.Snapshot();
    EXPECT_EQ(s.speed.Count(), 0u);
    EXPECT_EQ(s.bdMedia, 1);
    EXPECT_EQ(s.cdMedia, 0);
    EXPECT_EQ(s.writeSamples.size(), 20u);
    EXPECT_EQ(s.writePairCount, 20);
    EXPECT_GT(s.layerBreakX, 0);
    EXPECT_EQ(s.layerBreakDraw, 0) << "a break taken from the capacity";
    EXPECT_EQ(s.endMarkerX, file.Graph().endOfDataX);
    EXPECT_EQ(s.endMarkerColor, kGraphMarkerColour);
    EXPECT_GE(repaints, 1);
}

TEST(WriteGraphView, BoxesFollowThePassesOfTheFile)
{
    WriteGraphFile file;
    ASSERT_EQ(file.LoadGraphText(WriteGraphFixture::VerifyOnly().Text()), 0);
    WriteGraphBoxes boxes = BoxesAfterLoad(file.Graph(), WriteGraphBoxes{});
    EXPECT_FALSE(boxes.showWriteEnabled);
    EXPECT_FALSE(boxes.showWriteTicked);
    EXPECT_FALSE(boxes.writeCurvesEnabled);
    EXPECT_TRUE(boxes.showVerifyTicked);
    EXPECT_TRUE(boxes.verifyCurvesEnabled);

    ASSERT_EQ(file.LoadGraphText(WriteGraphFixture::Dvd().Text()), 0);
    boxes = BoxesAfterLoad(file.Graph(), boxes);
    EXPECT_FALSE(boxes.showWriteEnabled) << "given back by the next Load, not by the file";
    EXPECT_TRUE(boxes.writeCurvesEnabled);
    EXPECT_FALSE(boxes.showVerifyEnabled);
    EXPECT_FALSE(boxes.verifyCurvesEnabled);

    EXPECT_EQ(AxisLabelsFor(true).speed.front(), "78x");
    EXPECT_EQ(AxisLabelsFor(false).rpm.back(), "3K");
}
