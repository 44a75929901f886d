#include "core/graphs/RateGraphPlot.h"

#include "core/graphs/WriteGraphPlot.h"

#include <algorithm>

namespace {

constexpr int kRight = kRatePlotWidth - 1;  // 450
constexpr int kBottom = kRatePlotHeight - 1;  // 400
constexpr int kBlocksPerRow = 90;
constexpr int kCellPitch = 5;
constexpr int kCellSize = 4;
constexpr int kVisibleBlocks = kBlocksPerRow * (kBottom / kCellPitch);  // 80 rows

bool InsidePlot(int x, int y)
{
    return x >= 1 && x <= kRight && y >= 1 && y <= kBottom;
}

void AppendFrame(std::vector<PlotStep>& steps, COLORREF colour, const PlotArea& area)
{
    AppendIfTouching(steps, area, PlotLine(colour, 0, 0, kRight, 0));
    AppendIfTouching(steps, area, PlotLine(colour, kRight, 0, kRight, kBottom));
    AppendIfTouching(steps, area, PlotLine(colour, kRight, kBottom, 0, kBottom));
    AppendIfTouching(steps, area, PlotLine(colour, 0, kBottom, 0, 0));
}

void AppendCurve(std::vector<PlotStep>& steps, const RateCurve& curve, COLORREF pen, const PlotArea& area)
{
    int x = curve.originX;
    int y = curve.originY;
    for (std::size_t i = 0; i < curve.Count(); ++i) {
        if (!InsidePlot(curve.x[i], curve.y[i]))
            continue;
        AppendIfTouching(steps, area, PlotLine(pen, x, y, curve.x[i], curve.y[i]));
        x = curve.x[i];
        y = curve.y[i];
    }
}

// The area of the joins from the last point drawn before `from` on.
PlotArea NewPointsArea(const RateCurve& curve, std::size_t from)
{
    int x = curve.originX;
    int y = curve.originY;
    for (std::size_t i = std::min(from, curve.Count()); i-- > 0;)
        if (InsidePlot(curve.x[i], curve.y[i])) {
            x = curve.x[i];
            y = curve.y[i];
            break;
        }
    PlotArea area;
    for (std::size_t i = from; i < curve.Count(); ++i) {
        if (!InsidePlot(curve.x[i], curve.y[i]))
            continue;
        area = area.United({std::min(x, curve.x[i]), std::min(y, curve.y[i]), std::max(x, curve.x[i]) + 1,
                            std::max(y, curve.y[i]) + 1});
        x = curve.x[i];
        y = curve.y[i];
    }
    return area;
}

bool Listed(const std::vector<int>& sorted, int block)
{
    return std::binary_search(sorted.begin(), sorted.end(), block);
}

}  // namespace

std::vector<PlotStep> BuildRateCurvesPlot(const RateGraphState& graph, const PlotArea& area)
{
    std::vector<PlotStep> steps;
    const PlotArea filled{std::max(area.left, 0), std::max(area.top, 0), std::min(area.right, kRatePlotWidth),
                          std::min(area.bottom, kRatePlotHeight)};
    if (filled.IsEmpty())
        return steps;
    steps.push_back(PlotFillRect(graph.backgroundColor, filled.left, filled.top, filled.right, filled.bottom));
    for (int x = 10; x <= 440; x += 10)
        AppendIfTouching(steps, area, PlotLine(graph.dimGridColor, x, 0, x, kRatePlotHeight));
    AppendFrame(steps, graph.gridColor, area);
    for (int x = 50; x <= kRight; x += 50)
        AppendIfTouching(steps, area, PlotLine(graph.gridColor, x, 0, x, kRatePlotHeight));
    for (int y = 20; y <= kBottom; y += 20)
        AppendIfTouching(steps, area, PlotLine(graph.gridColor, 0, y, kRatePlotWidth, y));
    if (graph.showSpeed != 0)
        AppendCurve(steps, graph.speed, graph.speedColor, area);
    if (graph.showRpm != 0)
        AppendCurve(steps, graph.rpm, graph.rpmColor, area);
    if (graph.endMarkerX != 0)
        AppendIfTouching(steps, area, PlotLine(graph.endMarkerColor, graph.endMarkerX, 1, graph.endMarkerX, kBottom));
    if (graph.layerBreakX != 0)
        AppendIfTouching(steps, area,
                         PlotLine(graph.layerBreakColor, graph.layerBreakX, 1, graph.layerBreakX, kBottom));
    return steps;
}

PlotArea RateCurvePointsArea(const RateGraphState& graph, std::size_t speedFrom, std::size_t rpmFrom)
{
    PlotArea area;
    if (graph.showSpeed != 0)
        area = area.United(NewPointsArea(graph.speed, speedFrom));
    if (graph.showRpm != 0)
        area = area.United(NewPointsArea(graph.rpm, rpmFrom));
    return area;
}

std::vector<PlotStep> BuildErrorMapPlot(const RateGraphState& graph)
{
    std::vector<PlotStep> steps;
    steps.push_back(PlotFillRect(graph.backgroundColor, 0, 0, kRatePlotWidth, kRatePlotHeight));
    for (int x = kCellPitch; x <= kRight; x += kCellPitch)
        steps.push_back(PlotLine(graph.dimGridColor, x, 0, x, kRatePlotHeight));
    for (int y = kCellPitch; y <= kBottom; y += kCellPitch)
        steps.push_back(PlotLine(graph.dimGridColor, 0, y, kRatePlotWidth, y));
    AppendFrame(steps, graph.gridColor, kWholeRatePlot);
    for (int x = 50; x <= kRight; x += 50)
        steps.push_back(PlotLine(graph.gridColor, x, 0, x, kRatePlotHeight));
    for (int y = 32; y <= 384; y += 32)
        steps.push_back(PlotLine(graph.gridColor, 0, y, kRatePlotWidth, y));

    std::vector<int> bad = graph.badBlocks;
    std::vector<int> retried = graph.retriedBlocks;
    std::sort(bad.begin(), bad.end());
    std::sort(retried.begin(), retried.end());
    const int blocks = std::clamp(graph.blockCounter, 0, kVisibleBlocks);
    for (int block = 0; block < blocks; ++block) {
        const int left = 1 + kCellPitch * (block % kBlocksPerRow);
        const int top = 1 + kCellPitch * (block / kBlocksPerRow);
        const COLORREF fill = Listed(bad, block) ? kBadBlockColor
            : Listed(retried, block)             ? kRetriedBlockColor
                                                 : kGoodBlockColor;
        steps.push_back(PlotFillRect(fill, left, top, left + kCellSize, top + kCellSize));
    }
    if (graph.errorMapLayerBreakY != 0)
        steps.push_back(PlotLine(graph.errorMapLayerBreakColor, 1, graph.errorMapLayerBreakY, kRatePlotWidth,
                                 graph.errorMapLayerBreakY));
    return steps;
}

std::vector<PlotStep> BuildRateGraphPlot(const RateGraphState& graph)
{
    switch (graph.Picture()) {
    case RatePicture::WriteGraph: return BuildWriteGraphPlot(graph);
    case RatePicture::ErrorMap: return BuildErrorMapPlot(graph);
    case RatePicture::Curves: break;
    }
    return BuildRateCurvesPlot(graph);
}

int RateGraphPlotHeight(const RateGraphState& graph)
{
    return graph.Picture() == RatePicture::WriteGraph ? kWriteGraphPlotHeight : kRatePlotHeight;
}
