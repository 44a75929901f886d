#include "core/graphs/PiPoOverlay.h"

#include "core/graphs/PiPoGraphPlot.h"
#include "core/graphs/PiPoScaleLadders.h"

#include <algorithm>

namespace {

// Columns right of the plot are not drawn; a line into column 450 still
// paints column 449.
constexpr int kLastLineColumn = kPiPoPlotWidth;

struct OverlayPens {
    COLORREF scan1;
    COLORREF scan2;
    COLORREF overlap;
};

void CopySeries(OverlaySeries& to, const std::vector<std::int32_t>& series, int count)
{
    to.values = series;
    to.count = count;
}

// Samples that may be drawn: the count, never more than the values held.
int Drawable(const OverlaySeries& series)
{
    return std::clamp(series.count, 0, static_cast<int>(series.values.size()));
}

int Scan1Y(const OverlaySeries& series, int i, float factor)
{
    return PiPoPlotY(series.values[static_cast<std::size_t>(i)], factor);
}

// Scan 1, then scan 2 over it.
void AppendScans(std::vector<PlotStep>& steps, const OverlaySeries& scan1, bool show1, const OverlaySeries& scan2,
                 bool show2, float factor, bool lineMode, const OverlayPens& pens)
{
    int scan1Columns = 0;
    if (show1) {
        scan1Columns = Drawable(scan1);
        const int last = std::min(scan1Columns - 1, kLastLineColumn);
        for (int i = 0; i <= last; ++i) {
            const int y = Scan1Y(scan1, i, factor);
            if (!lineMode)
                steps.push_back(PlotLine(pens.scan1, i, kPiPoBaseline, i, y));
            else if (i > 0)
                steps.push_back(PlotLine(pens.scan1, i - 1, Scan1Y(scan1, i - 1, factor), i, y));
        }
    }
    if (!show2)
        return;
    const int samples = std::min(Drawable(scan2), kLastLineColumn + 1);
    int previousY = samples > 0 ? Scan1Y(scan2, 0, factor) : kPiPoBaseline;
    for (int column = 0; column < samples; ++column) {
        const std::int32_t value = scan2.values[static_cast<std::size_t>(column)];
        const int y = PiPoPlotY(value, factor);
        if (lineMode) {
            if (column > 0)
                steps.push_back(PlotLine(pens.scan2, column - 1, previousY, column, y));
            previousY = y;
        } else if (show1 && column < scan1Columns) {
            const std::int32_t under = scan1.values[static_cast<std::size_t>(column)];
            if (value < under) {
                steps.push_back(PlotLine(pens.overlap, column, kPiPoBaseline, column, y));
            } else {
                const int underY = PiPoPlotY(under, factor);
                steps.push_back(PlotLine(pens.overlap, column, kPiPoBaseline, column, underY));
                steps.push_back(PlotLine(pens.scan2, column, underY, column, y));
            }
        } else {
            steps.push_back(PlotLine(pens.scan2, column, kPiPoBaseline, column, y));
        }
    }
}

void AppendJitterLine(std::vector<PlotStep>& steps, const OverlaySeries& jitter, float factor, COLORREF pen)
{
    const int samples = std::min(Drawable(jitter), kLastLineColumn + 1);
    for (int i = 1; i < samples; ++i)
        steps.push_back(PlotLine(pen, i - 1, JitterPlotY(jitter.values[static_cast<std::size_t>(i - 1)], factor), i,
                                 JitterPlotY(jitter.values[static_cast<std::size_t>(i)], factor)));
}

void AppendOverlayMarkers(std::vector<PlotStep>& steps, const PiPoOverlayBase& overlay)
{
    for (int x : {overlay.m_nEndMarker1, overlay.m_nLayerBreak1, overlay.m_nEndMarker2, overlay.m_nLayerBreak2})
        AppendPiPoMarker(steps, x, kOverlayMarkerPen);
}

}  // namespace

void PiPoOverlayBase::SetGridColors(COLORREF grid, COLORREF halfGrid, COLORREF background)
{
    m_crGrid = grid;
    m_crHalfGrid = halfGrid;
    m_crBackground = background;
    Redraw();
}

void PiPoOverlayBase::SetCapacityMarkerColor(COLORREF colour)
{
    m_crMarker = colour;
    Redraw();
}

void PiPoOverlayBase::SetLayerBreakMarkerColor(COLORREF colour)
{
    m_crMarker = colour;
    Redraw();
}

void PiPoOverlayBase::Redraw() const
{
    if (m_repaint)
        m_repaint();
}

void PiPoUpperOverlay::SetScan1PISeries(const std::vector<std::int32_t>& series, int count)
{
    CopySeries(m_Scan1PI, series, count);
}

void PiPoUpperOverlay::SetScan1SpeedSeries(const std::vector<std::int32_t>& series, int count)
{
    CopySeries(m_Scan1Speed, series, count);
}

void PiPoUpperOverlay::SetScan2PISeries(const std::vector<std::int32_t>& series, int count)
{
    CopySeries(m_Scan2PI, series, count);
}

void PiPoUpperOverlay::SetScan2SpeedSeries(const std::vector<std::int32_t>& series, int count)
{
    CopySeries(m_Scan2Speed, series, count);
}

void PiPoUpperOverlay::SetPIScale(int code)
{
    if (const auto factor = PIScaleFactor(code))
        m_fPIFactor = *factor;
}

void PiPoUpperOverlay::SetSpeedColor(COLORREF colour)
{
    m_crSpeed = colour;
    Redraw();
}

void PiPoUpperOverlay::SetPIColor(COLORREF colour)
{
    m_crPI = colour;
    Redraw();
}

void PiPoLowerOverlay::SetScan1Series(const std::vector<std::int32_t>& first, const std::vector<std::int32_t>& po,
                                      const std::vector<std::int32_t>& jitter, int count)
{
    CopySeries(m_Scan1First, first, count);
    CopySeries(m_Scan1PO, po, count);
    CopySeries(m_Scan1Jitter, jitter, count);
}

void PiPoLowerOverlay::SetScan2Series(const std::vector<std::int32_t>& first, const std::vector<std::int32_t>& po,
                                      const std::vector<std::int32_t>& jitter, int count)
{
    CopySeries(m_Scan2First, first, count);
    CopySeries(m_Scan2PO, po, count);
    CopySeries(m_Scan2Jitter, jitter, count);
}

void PiPoLowerOverlay::SetPIFScale(int code)
{
    if (const auto factor = PIFScaleFactor(code))
        m_fPIFFactor = *factor;
}

void PiPoLowerOverlay::SetJitterScale(int code)
{
    m_nJitterScale = code;
    if (const auto factor = JitterScaleFactor(code))
        m_fJitterFactor = *factor;
}

void PiPoLowerOverlay::SetPOColor(COLORREF colour)
{
    m_crPO = colour;
    Redraw();
}

void PiPoLowerOverlay::SetPIFJitterColors(COLORREF pifColour, COLORREF jitterColour)
{
    m_crPIF = pifColour;
    m_crJitter = jitterColour;
    Redraw();
}

std::vector<PlotStep> BuildUpperOverlayPlot(const PiPoUpperOverlay& overlay)
{
    std::vector<PlotStep> steps;
    AppendPiPoBackground(steps, overlay.m_crGrid, overlay.m_crHalfGrid, overlay.m_crBackground);
    AppendScans(steps, overlay.m_Scan1PI, overlay.m_bShowScan1 != 0, overlay.m_Scan2PI, overlay.m_bShowScan2 != 0,
                overlay.PIFactor(), overlay.m_nLineMode != 0,
                {kOverlayScan1PIPen, kOverlayScan2PIPen, kOverlayPIOverlapPen});
    AppendOverlayMarkers(steps, overlay);
    return steps;
}

std::vector<PlotStep> BuildLowerOverlayPlot(const PiPoLowerOverlay& overlay)
{
    std::vector<PlotStep> steps;
    AppendPiPoBackground(steps, overlay.m_crGrid, overlay.m_crHalfGrid, overlay.m_crBackground);
    AppendScans(steps, overlay.m_Scan1First, overlay.m_bShowPIF1 != 0, overlay.m_Scan2First, overlay.m_bShowPIF2 != 0,
                overlay.PIFFactor(), overlay.m_nLineMode != 0,
                {kOverlayScan1PIFPen, kOverlayScan2PIFPen, kOverlayPIFOverlapPen});
    if (overlay.m_bShowJitter1 != 0)
        AppendJitterLine(steps, overlay.m_Scan1Jitter, overlay.JitterFactor(), kOverlayScan1JitterPen);
    if (overlay.m_bShowJitter2 != 0)
        AppendJitterLine(steps, overlay.m_Scan2Jitter, overlay.JitterFactor(), kOverlayScan2JitterPen);
    AppendOverlayMarkers(steps, overlay);
    return steps;
}
