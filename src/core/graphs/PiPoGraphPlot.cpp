#include "core/graphs/PiPoGraphPlot.h"

#include "core/graphs/PiPoBands.h"
#include "core/graphs/PiPoScaleLadders.h"

#include <algorithm>

namespace {

constexpr int kLastColumn = kPiPoPlotWidth - 1;

struct SeriesStyle {
    float factor;
    bool lineMode;
    COLORREF pen;
    // Progressive colouring: the band table, or null for the plain pen.
    int (*band)(int);
    COLORREF (*bandColor)(int);
};

COLORREF SampleColor(const SeriesStyle& style, int value)
{
    return style.band != nullptr ? style.bandColor(style.band(value)) : style.pen;
}

void AppendSeries(std::vector<PlotStep>& steps, const std::vector<std::int32_t>& values, const SeriesStyle& style,
                  int lastColumn, const PlotArea& area)
{
    // Sample i paints columns i - 2 (or 0) to i - 1: only those near the area are looked at.
    const std::size_t first = static_cast<std::size_t>(std::max(1, area.left + 1));
    const std::size_t end = std::min(values.size(), static_cast<std::size_t>(std::max(0, area.right + 2)));
    for (std::size_t i = first; i < end; ++i) {
        const int column = static_cast<int>(i) - 1;
        if (column > lastColumn)
            break;
        const int y = PiPoPlotY(values[i], style.factor);
        const COLORREF color = SampleColor(style, values[i]);
        if (style.lineMode) {
            const int previousX = std::max(column - 1, 0);
            const int previousY = PiPoPlotY(values[i - 1], style.factor);
            AppendIfTouching(steps, area, PlotLine(color, previousX, previousY, column, y));
        } else {
            AppendIfTouching(steps, area, PlotLine(color, column, kPiPoBaseline, column, y));
        }
    }
}

void AppendJitter(std::vector<PlotStep>& steps, const std::vector<std::int32_t>& values, float factor, COLORREF pen,
                  int lastColumn, const PlotArea& area)
{
    // Sample i paints columns i - 1 to i.
    const std::size_t first = static_cast<std::size_t>(std::max(1, area.left));
    const std::size_t end = std::min(values.size(), static_cast<std::size_t>(std::max(0, area.right + 1)));
    for (std::size_t i = first; i < end; ++i) {
        const int column = static_cast<int>(i);
        if (column > lastColumn)
            break;
        AppendIfTouching(
            steps, area,
            PlotLine(pen, column - 1, JitterPlotY(values[i - 1], factor), column, JitterPlotY(values[i], factor)));
    }
}

void AppendMarkers(std::vector<PlotStep>& steps, const PiPoGraphFrame& frame, const PiPoGraphLook& look,
                   const PlotArea& area)
{
    AppendPiPoMarker(steps, frame.endMarkerX, look.endMarkerPen, area);
    AppendPiPoMarker(steps, frame.layerBreakX, look.layerBreakPen, area);
}

int LastColumn(const PiPoGraphFrame& frame)
{
    return std::min(frame.endMarkerX, kLastColumn);
}

}  // namespace

void AppendPiPoBackground(std::vector<PlotStep>& steps, COLORREF grid, COLORREF halfGrid, COLORREF background,
                          const PlotArea& area)
{
    const PlotArea filled{std::max(area.left, 0), std::max(area.top, 0), std::min(area.right, kPiPoPlotWidth),
                          std::min(area.bottom, kPiPoPlotHeight)};
    if (filled.IsEmpty())
        return;
    steps.push_back(PlotFillRect(background, filled.left, filled.top, filled.right, filled.bottom));
    for (int x = 10; x <= 440; x += 10)
        AppendIfTouching(steps, area, PlotLine(halfGrid, x, 0, x, kPiPoPlotHeight));
    for (int y = 8; y <= kPiPoBaseline; y += 8)
        AppendIfTouching(steps, area, PlotLine(halfGrid, 0, y, kPiPoPlotWidth, y));
    const int right = kPiPoPlotWidth - 1;
    const int bottom = kPiPoPlotHeight - 1;
    AppendIfTouching(steps, area, PlotLine(grid, 0, 0, right, 0));
    AppendIfTouching(steps, area, PlotLine(grid, right, 0, right, bottom));
    AppendIfTouching(steps, area, PlotLine(grid, right, bottom, 0, bottom));
    AppendIfTouching(steps, area, PlotLine(grid, 0, bottom, 0, 0));
    for (int x = 50; x <= kPiPoPlotWidth; x += 50)
        AppendIfTouching(steps, area, PlotLine(grid, x, 0, x, kPiPoPlotHeight));
    for (int y = 32; y <= kPiPoBaseline; y += 32)
        AppendIfTouching(steps, area, PlotLine(grid, 0, y, kPiPoPlotWidth, y));
}

void AppendPiPoMarker(std::vector<PlotStep>& steps, int x, COLORREF pen, const PlotArea& area)
{
    if (x != 0)
        AppendIfTouching(steps, area, PlotLine(pen, x, 1, x, kPiPoPlotHeight - 1));
}

int PiPoPlotY(int value, float factor)
{
    const float height = static_cast<float>(value) * factor;
    if (!(height < static_cast<float>(kPiPoBaseline)))
        return 0;
    if (height <= static_cast<float>(kPiPoBaseline - kPiPoPlotHeight))
        return kPiPoPlotHeight;
    return kPiPoBaseline - static_cast<int>(height);
}

int JitterPlotY(int value, float factor)
{
    const double y = kPiPoBaseline - static_cast<double>(static_cast<float>(value) * factor);
    if (!(y > 0.0))
        return 0;
    if (y >= kPiPoPlotHeight)
        return kPiPoPlotHeight;
    return static_cast<int>(y);
}

std::vector<PlotStep> BuildUpperGraphPlot(const PiPoUpperState& graph, const PlotArea& area)
{
    const PiPoUpperData& d = graph.data;
    std::vector<PlotStep> steps;
    AppendPiPoBackground(steps, d.frame.gridColor, d.frame.halfGridColor, d.frame.backgroundColor, area);
    const int lastColumn = LastColumn(d.frame);
    if (d.showPI != 0) {
        const bool progressive = graph.look.progressive != 0;
        const SeriesStyle style{d.piFactor, d.piLineMode != 0, graph.piPen, progressive ? UpperBand : nullptr,
                                UpperBandColor};
        AppendSeries(steps, d.pi, style, lastColumn, area);
    }
    if (d.showSpeed != 0)
        AppendSeries(steps, d.speed, {d.speedFactor, d.speedLineMode != 0, graph.speedPen, nullptr, nullptr},
                     lastColumn, area);
    AppendMarkers(steps, d.frame, graph.look, area);
    return steps;
}

std::vector<PlotStep> BuildLowerGraphPlot(const PiPoLowerState& graph, const PlotArea& area)
{
    const PiPoLowerData& d = graph.data;
    std::vector<PlotStep> steps;
    AppendPiPoBackground(steps, d.frame.gridColor, d.frame.halfGridColor, d.frame.backgroundColor, area);
    const int lastColumn = LastColumn(d.frame);
    if (!d.pif.empty()) {
        if (d.showPIF != 0) {
            const bool progressive = graph.look.progressive != 0;
            const SeriesStyle style{d.pifFactor, d.pifLineMode != 0, graph.pifPen, progressive ? LowerBand : nullptr,
                                    LowerBandColor};
            AppendSeries(steps, d.pif, style, lastColumn, area);
        }
        if (d.showPO != 0)
            AppendSeries(steps, d.po, {d.pifFactor, d.poLineMode != 0, graph.poPen, nullptr, nullptr}, lastColumn,
                         area);
        if (graph.showJitter != 0)
            AppendJitter(steps, d.jitter, graph.jitterFactor, graph.jitterPen, lastColumn, area);
    }
    AppendMarkers(steps, d.frame, graph.look, area);
    return steps;
}

PlotArea PiPoSampleColumns(std::size_t from, std::size_t to, bool jitter)
{
    if (to <= from)
        return {};
    // A series sample i paints columns i - 2 to i - 1, a jitter sample i - 1 to i.
    const std::size_t shift = jitter ? 1 : 2;
    const std::size_t left = from > shift ? from - shift : 0;
    const std::size_t right = jitter ? to : to - 1;
    if (left >= static_cast<std::size_t>(kPiPoPlotWidth))
        return {};
    return {static_cast<int>(left), 0, static_cast<int>(std::min<std::size_t>(right, kPiPoPlotWidth)), kPiPoPlotHeight};
}
