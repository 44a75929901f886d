#include "core/graphs/WriteGraphView.h"

WriteGraphAxisLabels AxisLabelsFor(bool cd)
{
    if (cd)
        return {{"78x", "72x", "66x", "60x", "54x", "48x", "42x", "36x", "30x", "24x", "18x", "12x", "6x"},
                {"24K", "22K", "20K", "18K", "16K", "14K", "12K", "10K", "8K", "6K"},
                {"200MB", "400MB", "600MB", "800MB"}};
    return {{"26x", "24x", "22x", "20x", "18x", "16x", "14x", "12x", "10x", "8x", "6x", "4x", "2x"},
            {"30K", "27K", "24K", "21K", "18K", "15K", "12K", "9K", "6K", "3K"},
            {"1GB", "2GB", "3GB", "4GB"}};
}

WriteGraphBoxes BoxesAfterLoad(const WriteGraph& graph, const WriteGraphBoxes& before)
{
    WriteGraphBoxes boxes = before;
    if (graph.hasWriteSection) {
        boxes.writeCurvesEnabled = true;
    } else {
        boxes.showWriteEnabled = false;
        boxes.showWriteTicked = false;
        boxes.writeCurvesEnabled = false;
    }
    if (graph.hasVerifySection) {
        boxes.showVerifyEnabled = true;
        boxes.showVerifyTicked = true;
        boxes.verifyCurvesEnabled = true;
    } else {
        boxes.showVerifyEnabled = false;
        boxes.showVerifyTicked = false;
        boxes.verifyCurvesEnabled = false;
    }
    return boxes;
}

void ShowWriteGraph(const WriteGraph& graph, RateGraph& plot)
{
    plot.ClearGraph();
    plot.SetMediaFlags(graph.cdFlag ? 1 : 0, graph.mediaClass == GraphMediaClass::Bd ? 1 : 0,
                       graph.mediaClass == GraphMediaClass::HdDvd ? 1 : 0);
    if (graph.layerBreakX != 0)
        plot.SetLayerBreakMarker(graph.layerBreakX, kGraphMarkerColour, graph.layerBreakDrawn ? 1 : 0);
    plot.SetCapacityMarker(graph.endOfDataX, kGraphMarkerColour);
    plot.AddWriteGraphSamples(graph.writeSamples, graph.verifySamples);
    plot.Redraw();
}
