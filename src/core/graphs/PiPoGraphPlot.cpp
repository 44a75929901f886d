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
                  int lastColumn)
{
    if (values.empty())
        return;
    int previousX = 0;
    int previousY = style.lineMode ? PiPoPlotY(values[0], style.factor) : kPiPoBaseline;
    for (std::size_t i = 1; i < values.size(); ++i) {
        const int column = static_cast<int>(i) - 1;
        if (column > lastColumn)
            break;
        const int y = PiPoPlotY(values[i], style.factor);
        const COLORREF color = SampleColor(style, values[i]);
        if (style.lineMode) {
            steps.push_back(PlotLine(color, previousX, previousY, column, y));
            previousX = column;
            previousY = y;
        } else {
            steps.push_back(PlotLine(color, column, kPiPoBaseline, column, y));
        }
    }
}

void AppendJitter(std::vector<PlotStep>& steps, const std::vector<std::int32_t>& values, float factor, COLORREF pen,
                  int lastColumn)
{
    if (values.empty())
        return;
    int previousY = JitterPlotY(values[0], factor);
    for (std::size_t i = 1; i < values.size(); ++i) {
        const int column = static_cast<int>(i);
        if (column > lastColumn)
            break;
        const int y = JitterPlotY(values[i], factor);
        steps.push_back(PlotLine(pen, column - 1, previousY, column, y));
        previousY = y;
    }
}

void AppendMarkers(std::vector<PlotStep>& steps, const PiPoGraphFrame& frame, const PiPoGraphLook& look)
{
    if (frame.endMarkerX != 0)
        steps.push_back(PlotLine(look.endMarkerPen, frame.endMarkerX, 1, frame.endMarkerX, kPiPoPlotHeight - 1));
    if (frame.layerBreakX != 0)
        steps.push_back(PlotLine(look.layerBreakPen, frame.layerBreakX, 1, frame.layerBreakX, kPiPoPlotHeight - 1));
}

int LastColumn(const PiPoGraphFrame& frame)
{
    return std::min(frame.endMarkerX, kLastColumn);
}

}  // namespace

void AppendPiPoBackground(std::vector<PlotStep>& steps, COLORREF grid, COLORREF halfGrid, COLORREF background)
{
    steps.push_back(PlotFillRect(background, 0, 0, kPiPoPlotWidth, kPiPoPlotHeight));
    for (int x = 10; x <= 440; x += 10)
        steps.push_back(PlotLine(halfGrid, x, 0, x, kPiPoPlotHeight));
    for (int y = 8; y <= kPiPoBaseline; y += 8)
        steps.push_back(PlotLine(halfGrid, 0, y, kPiPoPlotWidth, y));
    const int right = kPiPoPlotWidth - 1;
    const int bottom = kPiPoPlotHeight - 1;
    steps.push_back(PlotLine(grid, 0, 0, right, 0));
    steps.push_back(PlotLine(grid, right, 0, right, bottom));
    steps.push_back(PlotLine(grid, right, bottom, 0, bottom));
    steps.push_back(PlotLine(grid, 0, bottom, 0, 0));
    for (int x = 50; x <= kPiPoPlotWidth; x += 50)
        steps.push_back(PlotLine(grid, x, 0, x, kPiPoPlotHeight));
    for (int y = 32; y <= kPiPoBaseline; y += 32)
        steps.push_back(PlotLine(grid, 0, y, kPiPoPlotWidth, y));
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

std::vector<PlotStep> BuildUpperGraphPlot(const PiPoUpperState& graph)
{
    const PiPoUpperData& d = graph.data;
    std::vector<PlotStep> steps;
    AppendPiPoBackground(steps, d.frame.gridColor, d.frame.halfGridColor, d.frame.backgroundColor);
    const int lastColumn = LastColumn(d.frame);
    if (d.showPI != 0) {
        const bool progressive = graph.look.progressive != 0;
        const SeriesStyle style{d.piFactor, d.piLineMode != 0, graph.piPen, progressive ? UpperBand : nullptr,
                                UpperBandColor};
        AppendSeries(steps, d.pi, style, lastColumn);
    }
    if (d.showSpeed != 0)
        AppendSeries(steps, d.speed, {d.speedFactor, d.speedLineMode != 0, graph.speedPen, nullptr, nullptr},
                     lastColumn);
    AppendMarkers(steps, d.frame, graph.look);
    return steps;
}

std::vector<PlotStep> BuildLowerGraphPlot(const PiPoLowerState& graph)
{
    const PiPoLowerData& d = graph.data;
    std::vector<PlotStep> steps;
    AppendPiPoBackground(steps, d.frame.gridColor, d.frame.halfGridColor, d.frame.backgroundColor);
    const int lastColumn = LastColumn(d.frame);
    if (!d.pif.empty()) {
        if (d.showPIF != 0) {
            const bool progressive = graph.look.progressive != 0;
            const SeriesStyle style{d.pifFactor, d.pifLineMode != 0, graph.pifPen, progressive ? LowerBand : nullptr,
                                    LowerBandColor};
            AppendSeries(steps, d.pif, style, lastColumn);
        }
        if (d.showPO != 0)
            AppendSeries(steps, d.po, {d.pifFactor, d.poLineMode != 0, graph.poPen, nullptr, nullptr}, lastColumn);
        if (graph.showJitter != 0)
            AppendJitter(steps, d.jitter, graph.jitterFactor, graph.jitterPen, lastColumn);
    }
    AppendMarkers(steps, d.frame, graph.look);
    return steps;
}
