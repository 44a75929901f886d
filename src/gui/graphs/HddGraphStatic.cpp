#include "gui/graphs/HddGraphStatic.h"

CHddGraphStatic::CHddGraphStatic(QWidget* parent) : CachedPlotWidget(QSize(kHddMapWidth, kHddMapHeight), parent)
{
    SetRepaintHook([this] { ScheduleRefresh(); });
}

void CHddGraphStatic::RefreshCache(bool)
{
    PlotDrawing drawing;
    drawing.whole = true;
    drawing.size = QSize(kHddMapWidth, kHddMapHeight);
    drawing.steps = Inspect([](const HddCellMapState& map, std::uint64_t) { return BuildHddCellMapPlot(map); });
    Paint(drawing);
}
