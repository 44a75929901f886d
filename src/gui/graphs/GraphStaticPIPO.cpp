#include "gui/graphs/GraphStaticPIPO.h"

#include "core/graphs/PiPoGraphPlot.h"

#include <vector>

namespace {

const QSize kPlotSize(kPiPoPlotWidth, kPiPoPlotHeight);

}  // namespace

CGraphStaticPIPO::CGraphStaticPIPO(QWidget* parent) : CachedPlotWidget(kPlotSize, parent)
{
    SetRepaintHook([this] { ScheduleRefresh(); });
}

void CGraphStaticPIPO::RefreshCache(bool full)
{
    const PlotDrawing drawing = Inspect([&](const PiPoUpperState& s, std::uint64_t revision) {
        PlotDrawing d;
        const std::size_t points = s.data.pi.size();
        if (full || revision != m_drawnRevision || points < m_drawnPoints) {
            d.whole = true;
            d.size = kPlotSize;
            d.steps = BuildUpperGraphPlot(s);
        } else {
            d.area = PiPoSampleColumns(m_drawnPoints, points, false);
            if (!d.area.IsEmpty())
                d.steps = BuildUpperGraphPlot(s, d.area);
        }
        m_drawnRevision = revision;
        m_drawnPoints = points;
        return d;
    });
    Paint(drawing);
}

CGraphStaticPIPOLower::CGraphStaticPIPOLower(QWidget* parent) : CachedPlotWidget(kPlotSize, parent)
{
    SetRepaintHook([this] { ScheduleRefresh(); });
}

void CGraphStaticPIPOLower::RefreshCache(bool full)
{
    const PlotDrawing drawing = Inspect([&](const PiPoLowerState& s, std::uint64_t revision) {
        PlotDrawing d;
        const std::size_t points = s.data.pif.size();
        const std::size_t jitter = s.data.jitter.size();
        // The first PIF/PO sample also brings out the jitter samples before it.
        if (full || revision != m_drawnRevision || points < m_drawnPoints || jitter < m_drawnJitter
            || (m_drawnPoints == 0 && points > 0)) {
            d.whole = true;
            d.size = kPlotSize;
            d.steps = BuildLowerGraphPlot(s);
        } else {
            d.area = PiPoSampleColumns(m_drawnPoints, points, false)
                         .United(PiPoSampleColumns(m_drawnJitter, jitter, true));
            if (!d.area.IsEmpty())
                d.steps = BuildLowerGraphPlot(s, d.area);
        }
        m_drawnRevision = revision;
        m_drawnPoints = points;
        m_drawnJitter = jitter;
        return d;
    });
    Paint(drawing);
}
