#include "gui/graphs/GraphStatic.h"

#include "core/graphs/RateGraphPlot.h"

#include <vector>

CGraphStatic::CGraphStatic(QWidget* parent) : CachedPlotWidget(QSize(kRatePlotWidth, kRatePlotHeight), parent)
{
    SetRepaintHook([this] { ScheduleRefresh(); });
}

void CGraphStatic::RefreshCache(bool full)
{
    const PlotDrawing drawing = Inspect([&](const RateGraphState& s, std::uint64_t revision) {
        PlotDrawing d;
        const RatePicture picture = s.Picture();
        const bool onlyAppended = !full && revision == m_drawnRevision && picture == RatePicture::Curves
            && m_drawnPicture == RatePicture::Curves && s.speed.Count() >= m_drawnSpeedPoints
            && s.rpm.Count() >= m_drawnRpmPoints;
        if (onlyAppended) {
            d.area = RateCurvePointsArea(s, m_drawnSpeedPoints, m_drawnRpmPoints);
            if (!d.area.IsEmpty())
                d.steps = BuildRateCurvesPlot(s, d.area);
        } else {
            d.whole = true;
            d.size = QSize(kRatePlotWidth, RateGraphPlotHeight(s));
            d.steps = BuildRateGraphPlot(s);
        }
        m_drawnRevision = revision;
        m_drawnPicture = picture;
        m_drawnSpeedPoints = s.speed.Count();
        m_drawnRpmPoints = s.rpm.Count();
        return d;
    });
    Paint(drawing);
}
