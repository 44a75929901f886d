#include "core/graphs/RateGraph.h"
#include "core/graphs/RateGraphPlot.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

namespace {

constexpr COLORREF kSpeed = RGB(0xFF, 0xFF, 0);
constexpr COLORREF kRpm = RGB(0, 0xFF, 0);
constexpr COLORREF kMarker = RGB(0xFF, 0xFF, 0xFF);
constexpr COLORREF kBreak = RGB(0xFF, 0x64, 0);

std::vector<PlotStep> StepsIn(const std::vector<PlotStep>& steps, COLORREF colour)
{
    std::vector<PlotStep> found;
    std::copy_if(steps.begin(), steps.end(), std::back_inserter(found),
                 [&](const PlotStep& s) { return s.color == colour; });
    return found;
}

RateGraphState CurvesState()
{
    RateGraphState s;
    s.gridColor = RGB(1, 1, 1);
    s.dimGridColor = RGB(2, 2, 2);
    s.backgroundColor = RGB(3, 3, 3);
    s.showSpeed = 1;
    return s;
}

}  // namespace

TEST(RateGraph, CurvesHoldAtMost4510PointsAndTakeRpmPointsOnlyToTheRight)
{
    RateGraph graph;
    for (int i = 0; i < kRateCurveCapacity + 10; ++i)
        graph.AddSpeedPoint(i % 450 + 1, 200);
    EXPECT_EQ(graph.Snapshot().speed.Count(), static_cast<std::size_t>(kRateCurveCapacity));

    graph.AddRpmPoint(0, 10);  // not right of the start
    graph.AddRpmPoint(5, 20);
    graph.AddRpmPoint(5, 30);  // not right of 5
    graph.AddRpmPoint(3, 40);  // remembered, not stored
    graph.AddRpmPoint(4, 50);  // right of 3
    EXPECT_EQ(graph.Snapshot().rpm.x, (std::vector<int>{5, 4}));
}

TEST(RateGraph, EachGraphKeepsItsOwnPreviousRpmXAndClearGraphStartsItAgain)
{
    RateGraph main;
    RateGraph viewer;
    main.AddRpmPoint(400, 10);
    viewer.AddRpmPoint(20, 10);  // another graph's x does not hold it back
    EXPECT_EQ(viewer.Snapshot().rpm.Count(), 1u);

    // A second run draws its curve from the start again.
    main.ClearGraph();
    main.AddRpmPoint(10, 100);
    main.AddRpmPoint(20, 110);
    EXPECT_EQ(main.Snapshot().rpm.x, (std::vector<int>{10, 20}));
}

TEST(RateGraph, ClearGraphKeepsTheBlockListsAndClearErrorMapEmptiesThem)
{
    RateGraph graph;
    graph.NextErrorBlock();
    graph.MarkBlockBad();
    graph.NextErrorBlock();
    graph.MarkBlockRecovered();
    graph.SetCapacityMarker(300, kMarker);
    graph.SetLayerBreakMarker(150, kBreak, 0);
    graph.AddSpeedPoint(10, 10);
    graph.AddWriteSample(800, 0, 2000, -100, -100);
    graph.ClearGraph();
    RateGraphState s = graph.Snapshot();
    EXPECT_EQ(s.mode, 0);
    EXPECT_EQ(s.blockCounter, 0);
    EXPECT_EQ(s.speed.Count(), 0u);
    EXPECT_EQ(s.endMarkerX, 0);
    EXPECT_EQ(s.layerBreakX, 0);
    EXPECT_TRUE(s.writeSamples.empty());
    EXPECT_EQ(s.writePairCount, 0);
    EXPECT_EQ(s.badBlocks, std::vector<int>{1});
    EXPECT_EQ(s.retriedBlocks, std::vector<int>{2});

    graph.ClearErrorMap();
    s = graph.Snapshot();
    EXPECT_EQ(s.mode, 1);
    EXPECT_EQ(s.Picture(), RatePicture::ErrorMap);
    EXPECT_TRUE(s.badBlocks.empty());
    EXPECT_TRUE(s.retriedBlocks.empty());
    EXPECT_EQ(s.layerBreakDraw, 1);
}

TEST(RateGraph, PictureFollowsWhatTheGraphHolds)
{
    RateGraph graph;
    EXPECT_EQ(graph.Snapshot().Picture(), RatePicture::Curves);  // an empty grid
    graph.SetWriteGraphMode(1);
    EXPECT_EQ(graph.Snapshot().Picture(), RatePicture::WriteGraph);
    graph.ClearErrorMap();
    EXPECT_EQ(graph.Snapshot().Picture(), RatePicture::WriteGraph) << "write-graph mode wins over the block map";
    graph.AddSpeedPoint(5, 5);
    EXPECT_EQ(graph.Snapshot().Picture(), RatePicture::Curves) << "points win over both";
}

TEST(RateGraph, WriteSamplesCountTheValuePairsTheyCarry)
{
    RateGraph graph;
    graph.AddWriteSample(800, 0, 2000, 9000, 500);
    graph.AddWriteSample(800, 10, 2000, -100, -200);  // a line without the fields: buffer -1, cpu -2
    graph.AddWriteSample(800, 20, 2000, -100, -100);  // no values
    graph.AddVerifySample(800, 0, 2000, -100);
    graph.AddVerifySample(800, 10, 2000, 300);
    const RateGraphState s = graph.Snapshot();
    EXPECT_EQ(s.writeSamples.size(), 3u);
    EXPECT_EQ(s.writePairCount, 2);
    EXPECT_EQ(s.verifySamples.size(), 2u);
    EXPECT_EQ(s.verifyPairCount, 1);
}

TEST(RateGraph, AppendsRepaintWithoutANewRevisionAndEverythingElseRevises)
{
    RateGraph graph;
    int repaints = 0;
    graph.SetRepaintHook([&] { ++repaints; });
    const auto revision = [&] { return graph.Inspect([](const RateGraphState&, std::uint64_t r) { return r; }); };
    const std::uint64_t start = revision();
    graph.AddSpeedPoint(1, 1);
    graph.AddRpmPoint(2, 2);
    EXPECT_EQ(repaints, 2);
    EXPECT_EQ(revision(), start);
    graph.NextErrorBlock();  // no repaint
    EXPECT_EQ(repaints, 2);
    EXPECT_NE(revision(), start);
    graph.SetSampleShift(3);  // averaged: no repaint
    EXPECT_EQ(repaints, 2);
    graph.SetAveraged(0);
    graph.SetSampleShift(4);
    EXPECT_EQ(repaints, 4);
}

TEST(RateGraph, ASpeedScaleChangeRedrawsTheCurveDrawnSoFar)
{
    RateGraph graph;
    int repaints = 0;
    graph.SetRepaintHook([&] { ++repaints; });
    graph.SetSpeedOrigin(0, 399);
    graph.AddSpeedPoint(10, 199);  // 10x at 20 pixels an x
    graph.AddSpeedPoint(20, 39);  // 18x
    graph.AddRpmPoint(10, 100);
    graph.ScaleSpeedCurve(399, 1, 2);  // now 10 pixels an x
    const RateGraphState s = graph.Snapshot();
    EXPECT_EQ(s.speed.originY, 399);
    EXPECT_EQ(s.speed.y, (std::vector<int>{299, 219}));
    EXPECT_EQ(s.speed.x, (std::vector<int>{10, 20}));
    EXPECT_EQ(s.rpm.y, std::vector<int>{100}) << "the rotation keeps its scale";
    EXPECT_EQ(repaints, 4);
}

TEST(RateGraph, BlockListsGrowWhileTheMapIsBuilt)
{
    // The test thread marks blocks while the window thread paints the map.
    // Halfway the marking waits for a paint, so the two meet however the
    // threads are scheduled; every paint sees the lists and the counter
    // together (the block being marked at most one behind).
    RateGraph graph;
    graph.ClearErrorMap();
    std::atomic<bool> halfway{false};
    std::atomic<bool> paintedHalfway{false};
    std::atomic<bool> done{false};
    std::thread test([&] {
        for (int i = 0; i < 3000; ++i) {
            if (i == 1500) {
                halfway = true;
                while (!paintedHalfway)
                    std::this_thread::yield();
            }
            graph.NextErrorBlock();
            if (i % 3 == 0)
                graph.MarkBlockBad();
            else if (i % 3 == 1)
                graph.MarkBlockRecovered();
        }
        done = true;
    });
    int inconsistent = 0;
    std::size_t midwayBlocks = 0;
    while (!done) {
        const bool afterHalfway = halfway;
        graph.Inspect([&](const RateGraphState& s, std::uint64_t) {
            BuildErrorMapPlot(s);
            const auto blocks = static_cast<std::size_t>(s.blockCounter);
            const std::size_t marked = s.badBlocks.size() + s.retriedBlocks.size();
            const std::size_t expected = blocks - blocks / 3;
            if (marked != expected && marked + 1 != expected)
                ++inconsistent;
            if (afterHalfway && !paintedHalfway)
                midwayBlocks = blocks;
            return 0;
        });
        if (afterHalfway)
            paintedHalfway = true;
        std::this_thread::yield();
    }
    test.join();
    EXPECT_EQ(inconsistent, 0);
    EXPECT_EQ(midwayBlocks, 1500u);
    const RateGraphState s = graph.Snapshot();
    EXPECT_EQ(s.blockCounter, 3000);
    EXPECT_EQ(s.badBlocks.size() + s.retriedBlocks.size(), 2000u);
}

TEST(RateGraphPlot, CurvesRunFromTheirOriginsThroughThePointsInsideThePlotOnce)
{
    RateGraphState s = CurvesState();
    s.speed.originX = 0;
    s.speed.originY = 320;
    s.speed.x = {10, 20, 30, 451, 40};
    s.speed.y = {300, 380, 0, 200, 250};  // (30, 0) and (451, 200) lie outside
    s.rpm.originX = 0;
    s.rpm.originY = 320;
    s.rpm.x = {10};
    s.rpm.y = {100};
    s.endMarkerX = 300;
    s.endMarkerColor = kMarker;
    s.layerBreakX = 150;
    s.layerBreakColor = kBreak;
    s.layerBreakDraw = 0;  // ignored on the rate plot
    const std::vector<PlotStep> steps = BuildRateCurvesPlot(s);
    ASSERT_FALSE(steps.empty());
    EXPECT_EQ(steps.front(), PlotFillRect(RGB(3, 3, 3), 0, 0, 451, 401));
    // Each curve once: no second pass that leaves out points below row 359
    // and joins the rest with chords.
    EXPECT_EQ(StepsIn(steps, kSpeed),
              (std::vector<PlotStep>{PlotLine(kSpeed, 0, 320, 10, 300), PlotLine(kSpeed, 10, 300, 20, 380),
                                     PlotLine(kSpeed, 20, 380, 40, 250)}));
    EXPECT_EQ(StepsIn(steps, kRpm), (std::vector<PlotStep>{PlotLine(kRpm, 0, 320, 10, 100)}));
    EXPECT_EQ(steps[steps.size() - 2], PlotLine(kMarker, 300, 1, 300, 400));
    EXPECT_EQ(steps.back(), PlotLine(kBreak, 150, 1, 150, 400));

    s.showSpeed = 0;
    s.showRpm = 0;
    s.endMarkerX = 0;
    const std::vector<PlotStep> hidden = BuildRateCurvesPlot(s);
    EXPECT_TRUE(StepsIn(hidden, kSpeed).empty());
    EXPECT_TRUE(StepsIn(hidden, kRpm).empty());
    EXPECT_TRUE(StepsIn(hidden, kMarker).empty());
}

TEST(RateGraphPlot, NewPointsRedrawOnlyTheAreaOfTheirJoins)
{
    RateGraphState s = CurvesState();
    s.speed.x = {10, 20, 30, 500};
    s.speed.y = {300, 300, 280, 100};
    EXPECT_EQ(RateCurvePointsArea(s, 2, 0), (PlotArea{20, 280, 31, 301})) << "from (20, 300) to (30, 280)";
    EXPECT_TRUE(RateCurvePointsArea(s, 3, 0).IsEmpty()) << "a point outside the plot draws nothing";
    s.showSpeed = 0;
    EXPECT_TRUE(RateCurvePointsArea(s, 2, 0).IsEmpty());

    // The steps of an area are those of the whole plot that touch it.
    s.showSpeed = 1;
    const PlotArea area = RateCurvePointsArea(s, 2, 0);
    std::vector<PlotStep> expected;
    for (const PlotStep& step : BuildRateCurvesPlot(s))
        if (area.Touches(step) && step.kind == PlotStepKind::Line)
            expected.push_back(step);
    std::vector<PlotStep> partial = BuildRateCurvesPlot(s, area);
    ASSERT_EQ(partial.front(), PlotFillRect(s.backgroundColor, 20, 280, 31, 301));
    partial.erase(partial.begin());
    EXPECT_EQ(partial, expected);
}

TEST(RateGraphPlot, BlockMapCellsAreNinetyARowAndBadWinsOverRetried)
{
    RateGraphState s = CurvesState();
    s.mode = 1;
    s.blockCounter = 92;
    s.badBlocks = {91, 3};
    s.retriedBlocks = {3, 90};
    s.errorMapLayerBreakY = 200;
    s.errorMapLayerBreakColor = kBreak;
    const std::vector<PlotStep> steps = BuildErrorMapPlot(s);
    std::vector<PlotStep> cells;
    std::copy_if(steps.begin() + 1, steps.end(), std::back_inserter(cells),
                 [](const PlotStep& step) { return step.kind == PlotStepKind::FillRect; });
    ASSERT_EQ(cells.size(), 92u);
    EXPECT_EQ(cells[0], PlotFillRect(kGoodBlockColor, 1, 1, 5, 5));
    EXPECT_EQ(cells[3], PlotFillRect(kBadBlockColor, 16, 1, 20, 5));
    EXPECT_EQ(cells[89], PlotFillRect(kGoodBlockColor, 446, 1, 450, 5));
    EXPECT_EQ(cells[90], PlotFillRect(kRetriedBlockColor, 1, 6, 5, 10));
    EXPECT_EQ(cells[91], PlotFillRect(kBadBlockColor, 6, 6, 10, 10));
    EXPECT_EQ(steps.back(), PlotLine(kBreak, 1, 200, 451, 200));

    // Blocks below the plot's 80 rows are not drawn.
    s.blockCounter = 9000;
    const std::vector<PlotStep> full = BuildErrorMapPlot(s);
    EXPECT_EQ(std::count_if(full.begin() + 1, full.end(),
                            [](const PlotStep& step) { return step.kind == PlotStepKind::FillRect; }),
              7200);
}
