#include "core/graphs/PiPoGraphPlot.h"
#include "core/graphs/RateGraphPlot.h"
#include "gui/graphs/GraphMergePIPO.h"
#include "gui/graphs/GraphStatic.h"
#include "gui/graphs/GraphStaticPIPO.h"
#include "gui/graphs/PlotReplay.h"
#include "support/gui/Pixels.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <thread>

namespace {

constexpr COLORREF kGrid = RGB(0x6D, 0x6D, 0x6D);
constexpr COLORREF kHalf = RGB(0x36, 0x36, 0x36);
constexpr COLORREF kBack = RGB(0x10, 0x10, 0x10);
constexpr COLORREF kPI = RGB(0, 0xFF, 0);
constexpr COLORREF kSpeed = RGB(0xFF, 0xFF, 0);
constexpr COLORREF kWhite = RGB(0xFF, 0xFF, 0xFF);

// The picture the steps make, painted at once.
QImage Whole(const std::vector<PlotStep>& steps, int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::black);
    ReplayPlotSteps(image, steps, PlotArea::Whole(width, height));
    return image;
}

template <class Graph>
void SetUpColours(Graph& graph)
{
    graph.SetProgressiveColors(0);
    graph.SetGridColors(kGrid, kHalf, kBack);
    graph.SetCapacityMarker(449, kWhite);
}

}  // namespace

TEST(PlotReplay, LinesLeaveOutTheirEndPointAndAClipChangesNoPixelInsideIt)
{
    QImage image(20, 20, QImage::Format_RGB32);
    image.fill(Qt::black);
    ReplayPlotSteps(image, {PlotLine(kWhite, 2, 5, 8, 5), PlotLine(kPI, 4, 2, 4, 2)}, PlotArea::Whole(20, 20));
    EXPECT_EQ(PixelAt(image, 2, 5), kWhite);
    EXPECT_EQ(PixelAt(image, 7, 5), kWhite);
    EXPECT_EQ(PixelAt(image, 8, 5), 0u) << "end point";
    EXPECT_EQ(PixelAt(image, 4, 2), 0u) << "a line of no length";

    // A steep line painted whole and in two clipped halves.
    const std::vector<PlotStep> steps = {PlotLine(kPI, 1, 0, 13, 19), PlotLine(kSpeed, 18, 1, 0, 17)};
    const QImage whole = Whole(steps, 20, 20);
    QImage halves(20, 20, QImage::Format_RGB32);
    halves.fill(Qt::black);
    ReplayPlotSteps(halves, steps, PlotArea{0, 0, 7, 20});
    ReplayPlotSteps(halves, steps, PlotArea{7, 0, 20, 20});
    EXPECT_EQ(halves, whole);
}

TEST(GraphWidgets, UpperGraphShowsItsCurveWhereTheStepsSayAndHidesIt)
{
    CGraphStaticPIPO graph;
    SetUpColours(graph);
    graph.SetPIScale(4);  // 4 pixels a count
    graph.SetShowSeries(1, 0);
    for (int pi : {9, 9, 9, 9, 19, 19})
        graph.AddPoint(pi, 0);
    graph.RefreshNow();
    const QImage shown = Render(graph);
    EXPECT_EQ(shown.size(), QSize(450, 162));
    EXPECT_EQ(PixelAt(shown, 1, 124), kPI) << "9 counts at row 124, sample 2 in column 1";
    EXPECT_EQ(PixelAt(shown, 3, 84), kPI) << "19 counts at row 84";
    EXPECT_EQ(PixelAt(shown, 449, 60), kWhite) << "end marker";
    EXPECT_EQ(PixelAt(shown, 205, 150), kBack);

    graph.SetShowSeries(0, 0);
    graph.Redraw();
    graph.RefreshNow();
    const QImage hidden = Render(graph);
    EXPECT_EQ(PixelAt(hidden, 1, 124), kBack);
    EXPECT_EQ(PixelAt(hidden, 3, 84), kBack);
}

TEST(GraphWidgets, SamplesDrawnOneByOneMakeTheSamePictureAsAWholePaint)
{
    CGraphStaticPIPO upper;
    CGraphStaticPIPOLower lower;
    SetUpColours(upper);
    SetUpColours(lower);
    upper.SetPIScale(5);
    upper.SetSpeedScale(1);
    upper.SetProgressiveColors(1);  // a band pen for every sample
    lower.SetPIFScale(3);
    lower.SetJitterScale(4);
    lower.SetPlotModes(1, 0);  // PIF in blocks, PO in lines
    upper.RefreshNow();
    lower.RefreshNow();
    for (int i = 0; i < 470; ++i) {
        upper.AddPoint((i * 37) % 90, 40 + (i * 13) % 60);
        lower.AddPoint((i * 7) % 20, (i * 3) % 9, i % 3 == 0 ? -1 : 70 + i % 11);
        if (i % 5 == 0)
            lower.AddJitterPoint(90);
        upper.RefreshNow();
        lower.RefreshNow();
    }
    EXPECT_EQ(upper.Cache(), Whole(BuildUpperGraphPlot(upper.Snapshot()), 450, 162));
    EXPECT_EQ(lower.Cache(), Whole(BuildLowerGraphPlot(lower.Snapshot()), 450, 162));
}

TEST(GraphWidgets, PointsFromAScanThreadReachThePictureThroughTheEventLoop)
{
    CGraphStaticPIPOLower graph;
    SetUpColours(graph);
    graph.SetPIFScale(4);
    graph.SetShowSeries(1, 0, 0);
    graph.RefreshNow();
    std::thread scan([&] {
        for (int i = 0; i < 100; ++i)
            graph.AddPoint(5, 0, -1);
    });
    scan.join();
    QApplication::processEvents();
    EXPECT_EQ(PixelAt(Render(graph), 50, 140), kPI) << "5 counts at row 140";
}

TEST(GraphWidgets, RateGraphDrawsNewPointsAndItsOtherPictures)
{
    CGraphStatic graph;
    graph.SetGridColors(kGrid, kHalf, kBack);
    graph.ShowSpeedCurve(1);
    graph.SetSpeedOrigin(0, 320);
    graph.SetRpmOrigin(0, 320);
    graph.RefreshNow();
    for (int x = 1; x <= 300; ++x) {
        graph.AddSpeedPoint(x, 320 - x / 2);
        graph.AddRpmPoint(x, 380 - (x * x) % 370);
        if (x % 7 == 0)
            graph.RefreshNow();
    }
    graph.RefreshNow();
    EXPECT_EQ(graph.Cache(), Whole(BuildRateCurvesPlot(graph.Snapshot()), 451, 401));
    EXPECT_EQ(PixelAt(Render(graph), 101, 270), kSpeed);

    graph.ShowSpeedCurve(0);
    graph.RefreshNow();
    EXPECT_NE(PixelAt(Render(graph), 101, 270), kSpeed) << "a hidden curve";

    // The block map of an error test.
    graph.ClearErrorMap();
    for (int block = 0; block < 3; ++block) {
        graph.NextErrorBlock();
        if (block == 1)
            graph.MarkBlockBad();
    }
    graph.Redraw();
    graph.RefreshNow();
    const QImage map = Render(graph);
    EXPECT_EQ(PixelAt(map, 2, 2), kGoodBlockColor);
    EXPECT_EQ(PixelAt(map, 7, 2), kGoodBlockColor);
    EXPECT_EQ(PixelAt(map, 12, 2), kBadBlockColor) << "marked when the counter stood at 2";
    EXPECT_EQ(PixelAt(map, 17, 2), kBack) << "no fourth block";

    // The write-graph plot is taller.
    graph.ClearGraph();
    graph.SetWriteGraphMode(1);
    graph.RefreshNow();
    EXPECT_EQ(graph.Cache().size(), QSize(451, 435));
}

TEST(GraphWidgets, OverlaysShowTheOverlapAndFollowTheirToggles)
{
    CGraphMergePIPO upper;
    upper.SetGridColors(kGrid, kHalf, kBack);
    upper.SetPIScale(4);
    upper.SetScan1PISeries({10, 10, 10}, 3);
    upper.SetScan2PISeries({20, 20, 20, 20}, 4);
    upper.m_nLineMode = 0;
    upper.Redraw();
    upper.RefreshNow();
    QImage shown = Render(upper);
    EXPECT_EQ(PixelAt(shown, 1, 130), kOverlayPIOverlapPen) << "both bars";
    EXPECT_EQ(PixelAt(shown, 1, 100), kOverlayScan2PIPen) << "scan 2 above scan 1";
    EXPECT_EQ(PixelAt(shown, 3, 130), kOverlayScan2PIPen) << "scan 2 alone";

    upper.m_bShowScan2 = 0;
    upper.Redraw();
    upper.RefreshNow();
    shown = Render(upper);
    EXPECT_EQ(PixelAt(shown, 1, 130), kOverlayScan1PIPen);
    EXPECT_EQ(PixelAt(shown, 1, 100), kBack);

    CGraphMergePIPOLower lower;
    lower.SetGridColors(kGrid, kHalf, kBack);
    lower.SetJitterScale(2);
    lower.SetScan1Series({}, {}, {}, 0);
    lower.SetScan2Series({0, 0, 0}, {0, 0, 0}, {10, 10, 10}, 3);  // 4 pixels a tenth: row 120
    lower.Redraw();
    lower.RefreshNow();
    EXPECT_EQ(PixelAt(Render(lower), 1, 120), kOverlayScan2JitterPen) << "scan 2 shown with scan 1 empty";
    lower.m_bShowJitter2 = 0;
    lower.Redraw();
    lower.RefreshNow();
    EXPECT_NE(PixelAt(Render(lower), 1, 120), kOverlayScan2JitterPen);
}
