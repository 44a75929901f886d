#pragma once

#include "core/graphs/RateGraph.h"
#include "core/graphs/WriteGraph.h"

#include <array>
#include <string>

// What the write-graph viewer shows beside the plot, Qt-free.

// The axis labels for a CD or any other medium, top to bottom (speed, RPM)
// and left to right (x); a load then sets the x labels by media class.
struct WriteGraphAxisLabels {
    std::array<std::string, 13> speed;
    std::array<std::string, 10> rpm;
    std::array<std::string, 4> x;
};
WriteGraphAxisLabels AxisLabelsFor(bool cd);

// The curve boxes after a file was shown: "Show Write" is taken away when
// the file has no write pass, "Show Verify" given and ticked when it has a
// verify pass and taken away when it has none; the boxes of a pass's own
// curves follow it.
struct WriteGraphBoxes {
    bool showWriteEnabled = true;
    bool showWriteTicked = true;
    bool writeCurvesEnabled = true;  // "Write Buffer %.", "Write RPM......", "Write CPU%...."
    bool showVerifyEnabled = true;
    bool showVerifyTicked = true;
    bool verifyCurvesEnabled = true;  // "Verify RPM.....", "Verify CPU%..."
};
WriteGraphBoxes BoxesAfterLoad(const WriteGraph& graph, const WriteGraphBoxes& before);

// Puts a loaded file on the rate graph: cleared, media flags, the
// end-of-data and layer-break lines, every sample; then repainted.
void ShowWriteGraph(const WriteGraph& graph, RateGraph& plot);
