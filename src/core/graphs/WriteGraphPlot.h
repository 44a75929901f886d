#pragma once

#include "core/graphs/PlotStep.h"
#include "core/graphs/RateGraph.h"

#include <vector>

// The write-graph plot of a loaded write-graph file on the rate graph
// (451 x 435): the write and the verify pass as speed curves (y = 434 -
// speed x 16, CD x 5.33), rotation curves (y = 434 - RPM / 93.75) and, in
// the top band (y = 100 - percent), the write pass's buffer and CPU curves
// and the verify pass's CPU curve. One pixel column stands for a fixed number
// of sectors; a column either averages its samples or, in sampled mode,
// takes the first two after skipping the sample shift. Every sample carries
// its own buffer and CPU values (-100 where the file had none), so the
// percent curves never read another sample's values.
std::vector<PlotStep> BuildWriteGraphPlot(const RateGraphState& graph);

// The scales the plot takes from the media flags: the speed cap (times 100)
// and the sectors one column stands for on one layer.
int WriteGraphSpeedCap(const RateGraphState& graph);
int WriteGraphSectorsPerColumn(const RateGraphState& graph);

// Pens of the percent curves.
constexpr COLORREF kWriteBufferPen = RGB(0xFF, 0xFF, 0xFF);
constexpr COLORREF kWriteCpuPen = RGB(0, 0, 0xFF);
constexpr COLORREF kVerifyCpuPen = RGB(0xFF, 0x4B, 0);
