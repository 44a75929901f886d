#pragma once

#include "core/graphs/PlotStep.h"
#include "core/graphs/RateGraph.h"

#include <cstddef>
#include <vector>

constexpr PlotArea kWholeRatePlot = PlotArea::Unbounded();

// The rate plot: background, grid, the speed and rotation curves from their
// origins through every point inside the plot (x 1..450, y 1..400; a point
// outside is skipped and the curve goes on from the last point drawn), then
// the end-of-disc and layer-break lines. Given an area, only the steps that
// may touch it.
std::vector<PlotStep> BuildRateCurvesPlot(const RateGraphState& graph, const PlotArea& area = kWholeRatePlot);

// Where the points from the given counts on paint, with their joins to the
// points before them; empty when none of them is drawn.
PlotArea RateCurvePointsArea(const RateGraphState& graph, std::size_t speedFrom, std::size_t rpmFrom);

// The block map: 90 blocks a row in 4 x 4 cells, good green, retried white,
// bad red (bad wins), over a grid every 5 pixels, and its layer-break line.
// Rows below the 401-pixel plot (blocks from 7,200 on) are not drawn.
std::vector<PlotStep> BuildErrorMapPlot(const RateGraphState& graph);

// The picture the graph shows now, whole.
std::vector<PlotStep> BuildRateGraphPlot(const RateGraphState& graph);
// Its size in pixels.
int RateGraphPlotHeight(const RateGraphState& graph);
