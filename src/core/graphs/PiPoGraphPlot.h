#pragma once

#include "core/graphs/PiPoLowerGraph.h"
#include "core/graphs/PiPoUpperGraph.h"
#include "core/graphs/PiPoScaleLadders.h"
#include "core/graphs/PlotStep.h"

#include <cstddef>
#include <vector>

// What the PI/PO graphs paint, as steps on their 450 x 162 plot: background,
// grid, the series and the markers. Sample i (i >= 1) of a PI, speed, PIF or
// PO series sits in column i - 1 (sample 0 only gives the start point), a
// jitter sample i in column i; no series passes the end-marker column or
// column 449.
// Given an area, only the steps that may touch it.
constexpr PlotArea kWholePiPoPlot = PlotArea::Unbounded();
std::vector<PlotStep> BuildUpperGraphPlot(const PiPoUpperState& graph, const PlotArea& area = kWholePiPoPlot);
// Nothing but background and markers while the PIF/PO series are empty.
std::vector<PlotStep> BuildLowerGraphPlot(const PiPoLowerState& graph, const PlotArea& area = kWholePiPoPlot);

// The columns (over the whole height) that samples from..to-1 of a series
// paint, or of a jitter series; empty when they all lie right of the plot.
PlotArea PiPoSampleColumns(std::size_t from, std::size_t to, bool jitter);

// The background and the fine and major grid every PI/PO plot starts with.
void AppendPiPoBackground(std::vector<PlotStep>& steps, COLORREF grid, COLORREF halfGrid, COLORREF background,
                          const PlotArea& area = kWholePiPoPlot);
// A vertical marker line over the plot's height; none at x 0.
void AppendPiPoMarker(std::vector<PlotStep>& steps, int x, COLORREF pen, const PlotArea& area = kWholePiPoPlot);

// Row of a value: 160 - trunc(value x factor), never above row 0 and never
// further below the plot than its bottom edge (row 162).
int PiPoPlotY(int value, float factor);
// Row of a jitter value: trunc(160.0 - value x factor), kept to the same rows.
int JitterPlotY(int value, float factor);
