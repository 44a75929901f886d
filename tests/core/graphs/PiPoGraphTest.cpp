#include "core/graphs/PiPoLowerGraph.h"
#include "core/graphs/PiPoUpperGraph.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

}  // namespace

TEST(PiPoUpperGraph, PointsKeepBothSeriesEqualAndGiveTheLargestSpeed)
{
    PiPoUpperGraph graph;
    EXPECT_EQ(graph.GetMaxSpeed(), 0);
    graph.AddPoint(0, -5);
    EXPECT_EQ(graph.GetMaxSpeed(), 0) << "no positive speed";
    graph.AddPoint(12, 83);
    graph.AddPoint(30, 41);
    const PiPoUpperState s = graph.Snapshot();
    EXPECT_EQ(s.data.pi, (std::vector<std::int32_t>{0, 12, 30}));
    EXPECT_EQ(s.data.speed, (std::vector<std::int32_t>{-5, 83, 41}));
    EXPECT_EQ(graph.GetPointCount(), 3u);
    EXPECT_EQ(graph.GetMaxSpeed(), 83);
}

TEST(PiPoLowerGraph, JitterOfMinusOneIsNotAppendedButZeroIs)
{
    PiPoLowerGraph graph;
    graph.AddPoint(3, 1, -1);
    graph.AddPoint(4, 2, 0);
    graph.AddPIFPoint(7);
    graph.AddJitterPoint(85);
    const PiPoLowerState s = graph.Snapshot();
    EXPECT_EQ(s.data.pif, (std::vector<std::int32_t>{3, 4, 7}));
    EXPECT_EQ(s.data.po, (std::vector<std::int32_t>{1, 2, 0}));
    EXPECT_EQ(s.data.jitter, (std::vector<std::int32_t>{0, 85}));
    EXPECT_EQ(graph.GetPointCount(), 3u);
    EXPECT_EQ(graph.GetJitterCount(), 2u);
}

TEST(PiPoUpperGraph, ClearEmptiesSeriesMarkersAndSmallDiscFlags)
{
    PiPoUpperGraph graph;
    graph.AddPoint(1, 2);
    graph.SetCapacityMarker(300, kRed);
    graph.SetLayerBreakMarker(150, kBlue);
    graph.SetSmallDiscScale(1);
    EXPECT_EQ(graph.Snapshot().data.frame.smallDisc, 1);
    EXPECT_EQ(graph.Snapshot().data.frame.notSmallDisc, 0);
    graph.ClearGraph();
    const PiPoUpperState s = graph.Snapshot();
    EXPECT_TRUE(s.data.pi.empty());
    EXPECT_TRUE(s.data.speed.empty());
    PiPoGraphFrame cleared;
    cleared.cleared = 1;
    EXPECT_EQ(s.data.frame, cleared);
}

TEST(PiPoUpperGraph, MarkerPensAreWhileProgressiveAndOnlyChangeWhenAMarkerIsSet)
{
    PiPoUpperGraph graph;
    graph.SetCapacityMarker(200, kRed);
    EXPECT_EQ(graph.Snapshot().look.endMarkerPen, kWhite);
    graph.SetProgressiveColors(0);
    EXPECT_EQ(graph.Snapshot().look.endMarkerPen, kWhite) << "toggling alone keeps the pen";
    graph.SetCapacityMarkerColor(kBlue);
    EXPECT_EQ(graph.Snapshot().look.endMarkerPen, kBlue);
    EXPECT_EQ(graph.Snapshot().data.frame.endMarkerX, 200);

    graph.SetLayerBreakMarkerColor(kRed);
    const PiPoGraphFrame frame = graph.Snapshot().data.frame;
    EXPECT_EQ(frame.layerBreakColor, kRed);
    EXPECT_EQ(frame.layerBreakColor2, kRed);
    EXPECT_EQ(graph.Snapshot().look.layerBreakPen, kRed);
}

TEST(PiPoGraphs, ScaleSettersKeepTheFactorForCodesTheyIgnore)
{
    PiPoUpperGraph upper;
    upper.SetPIScale(7);
    upper.SetPIScale(11);
    EXPECT_EQ(upper.Snapshot().data.piFactor, 0.5f);
    EXPECT_EQ(upper.GetPIScaleCode(), 7);
    upper.SetPIScale(0);
    EXPECT_EQ(upper.GetPIScaleCode(), 2) << "codes 0 and 1 act as 2";
    upper.SetSpeedScale(2);
    upper.SetSpeedScale(9);
    EXPECT_EQ(upper.Snapshot().data.speedFactor, 1.0f);

    PiPoLowerGraph lower;
    lower.SetPIFScale(11);
    EXPECT_EQ(lower.Snapshot().data.pifFactor, 10.0f);
    EXPECT_EQ(lower.GetPIFScaleCode(), 11);
    lower.SetJitterScale(4);
    lower.SetJitterScale(9);
    EXPECT_EQ(lower.Snapshot().data.jitterScaleCode, 9) << "the code is kept";
    EXPECT_EQ(lower.Snapshot().jitterFactor, 0.8f);
    EXPECT_EQ(lower.GetJitterScaleCode(), 4) << "the code reported follows the factor";
}

TEST(PiPoGraphs, OnlyTheOperationsThatChangeThePictureAskForARepaint)
{
    PiPoUpperGraph upper;
    PiPoLowerGraph lower;
    int repaints = 0;
    upper.SetRepaintHook([&] { ++repaints; });
    lower.SetRepaintHook([&] { ++repaints; });
    struct Case {
        const char* name;
        std::function<void()> call;
        int repaints;
    };
    const Case cases[] = {
        {"upper AddPoint", [&] { upper.AddPoint(1, 2); }, 1},
        {"upper SetShowSeries", [&] { upper.SetShowSeries(0, 1); }, 0},
        {"upper SetPlotModes", [&] { upper.SetPlotModes(1, 0); }, 1},
        {"upper SetPIScale ignored code", [&] { upper.SetPIScale(11); }, 1},
        {"upper SetCapacityMarker", [&] { upper.SetCapacityMarker(5, kRed); }, 0},
        {"upper SetSmallDiscScale", [&] { upper.SetSmallDiscScale(1); }, 0},
        {"upper RefreshPoints", [&] { upper.RefreshPoints(); }, 1},
        {"upper LoadRecord", [&] { upper.LoadRecord(PiPoUpperData()); }, 0},
        {"lower AddPoint", [&] { lower.AddPoint(1, 0, -1); }, 1},
        {"lower SetPlotModes", [&] { lower.SetPlotModes(1, 1); }, 0},
        {"lower SetPIFJitterColors", [&] { lower.SetPIFJitterColors(kRed, kBlue); }, 1},
        {"lower ClearGraph", [&] { lower.ClearGraph(); }, 1},
    };
    for (const Case& c : cases) {
        repaints = 0;
        c.call();
        EXPECT_EQ(repaints, c.repaints) << c.name;
    }
}

TEST(PiPoUpperGraph, LoadedRecordAppendsAndReplacesMarkersButNotPens)
{
    PiPoUpperGraph graph;
    graph.AddPoint(1, 10);
    PiPoUpperData record;
    record.pi = {5, 6};
    record.speed = {50, 60};
    record.piColor = kRed;
    record.piFactor = 2.0f;
    record.frame.endMarkerX = 400;
    record.frame.endMarkerColor = kBlue;
    record.frame.layerBreakX = 0;
    record.frame.layerBreakColor = kRed;
    graph.SetProgressiveColors(0);
    graph.LoadRecord(record);

    const PiPoUpperState s = graph.Snapshot();
    EXPECT_EQ(s.data.pi, (std::vector<std::int32_t>{1, 5, 6}));
    EXPECT_EQ(s.data.speed, (std::vector<std::int32_t>{10, 50, 60}));
    EXPECT_EQ(s.data.piColor, kRed);
    EXPECT_EQ(s.piPen, PiPoUpperData().piColor) << "series pens wait for the colour setters";
    EXPECT_EQ(s.data.piFactor, 2.0f);
    EXPECT_EQ(s.look.endMarkerPen, kBlue);
    EXPECT_EQ(s.data.frame.layerBreakColor, kRed);
    EXPECT_EQ(s.look.layerBreakPen, 0u) << "a marker at 0 is not placed again";
}

TEST(PiPoLowerGraph, LoadedRecordKeepsTheJitterFactor)
{
    PiPoLowerGraph graph;
    PiPoLowerData record;
    record.jitterScaleCode = 6;
    record.pif = {1};
    record.po = {0};
    record.jitter = {90};
    graph.LoadRecord(record);
    const PiPoLowerState s = graph.Snapshot();
    EXPECT_EQ(s.data.jitterScaleCode, 6);
    EXPECT_EQ(s.jitterFactor, 4.0f);
    EXPECT_EQ(graph.GetJitterCount(), 1u);
}

TEST(PiPoUpperGraph, SnapshotsTakenWhileAScanAppendsAreWhole)
{
    PiPoUpperGraph graph;
    std::atomic<bool> done{false};
    std::thread scan([&] {
        for (int i = 0; i < 20000; ++i)
            graph.AddPoint(i, 2 * i);
        done = true;
    });
    bool whole = true;
    while (!done) {
        const PiPoUpperState s = graph.Snapshot();
        whole = whole && s.data.pi.size() == s.data.speed.size();
        if (!s.data.pi.empty())
            whole = whole && s.data.speed.back() == 2 * s.data.pi.back();
    }
    scan.join();
    EXPECT_TRUE(whole);
    EXPECT_EQ(graph.GetPointCount(), 20000u);
}
