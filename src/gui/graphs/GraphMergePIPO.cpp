#include "gui/graphs/GraphMergePIPO.h"

#include "core/graphs/PiPoScaleLadders.h"

namespace {

const QSize kPlotSize(kPiPoPlotWidth, kPiPoPlotHeight);

}  // namespace

CGraphMergePIPO::CGraphMergePIPO(QWidget* parent) : CachedPlotWidget(kPlotSize, parent)
{
    SetRepaintHook([this] { ScheduleRefresh(); });
}

void CGraphMergePIPO::RefreshCache(bool)
{
    PaintWhole(BuildUpperOverlayPlot(*this), kPlotSize);
}

CGraphMergePIPOLower::CGraphMergePIPOLower(QWidget* parent) : CachedPlotWidget(kPlotSize, parent)
{
    SetRepaintHook([this] { ScheduleRefresh(); });
}

void CGraphMergePIPOLower::RefreshCache(bool)
{
    PaintWhole(BuildLowerOverlayPlot(*this), kPlotSize);
}
