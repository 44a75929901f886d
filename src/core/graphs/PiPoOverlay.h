#pragma once

#include "core/base/ColorRef.h"
#include "core/graphs/PlotStep.h"

#include <cstdint>
#include <functional>
#include <vector>

// The overlays of two PI/PO scans in the compare window: the PI series of
// both scans above, their PIF (or PO) and jitter series below, in fixed
// colours; in block mode the part of a scan 2 bar that lies over scan 1's
// bar takes a third colour. The overlays keep copies of the series taken
// when the window opens. Their fields are written by the window on the GUI
// thread, which then calls Redraw.

// One scan's series as the overlay draws them.
struct OverlaySeries {
    std::vector<std::int32_t> values;
    int count = 0;  // samples drawn: at most the values held
};

constexpr COLORREF kOverlayMarkerPen = RGB(0xFF, 0xFF, 0xFF);
// Upper overlay pens.
constexpr COLORREF kOverlayScan1PIPen = 0xE60000;
constexpr COLORREF kOverlayScan2PIPen = 0x0000DC;
constexpr COLORREF kOverlayPIOverlapPen = 0xE600E6;
// Lower overlay pens.
constexpr COLORREF kOverlayScan1PIFPen = 0x00B400;
constexpr COLORREF kOverlayScan2PIFPen = 0x00E6E6;
constexpr COLORREF kOverlayPIFOverlapPen = 0x00FF64;
constexpr COLORREF kOverlayScan1JitterPen = 0x0096FF;
constexpr COLORREF kOverlayScan2JitterPen = 0xE6E600;

// What both overlays share: markers, grid and colours, the line-mode flag.
class PiPoOverlayBase {
public:
    void SetRepaintHook(std::function<void()> hook) { m_repaint = std::move(hook); }
    void SetGridColors(COLORREF grid, COLORREF halfGrid, COLORREF background);
    // The markers are drawn white whatever colour is given.
    void SetCapacityMarkerColor(COLORREF colour);
    void SetLayerBreakMarkerColor(COLORREF colour);
    void Redraw() const;

    int m_nLineMode = 1;  // 1 line, 0 block
    int m_nLineMode2 = 1;  // a copy the painter does not read
    int m_nEndMarker1 = 0;  // pixel columns, 0 = none
    int m_nLayerBreak1 = 0;
    int m_nEndMarker2 = 0;
    int m_nLayerBreak2 = 0;
    COLORREF m_crGrid = RGB(0, 0xFF, 0);
    COLORREF m_crHalfGrid = RGB(0, 0x84, 0);
    COLORREF m_crBackground = 0;
    COLORREF m_crMarker = RGB(0xFF, 0xFF, 0xFF);

protected:
    PiPoOverlayBase() = default;
    ~PiPoOverlayBase() = default;

private:
    std::function<void()> m_repaint;
};

// PI of scan 1 over PI of scan 2.
class PiPoUpperOverlay : public PiPoOverlayBase {
public:
    // The series and the sample count of its scan (the speed series are
    // kept, not drawn).
    void SetScan1PISeries(const std::vector<std::int32_t>& series, int count);
    void SetScan1SpeedSeries(const std::vector<std::int32_t>& series, int count);
    void SetScan2PISeries(const std::vector<std::int32_t>& series, int count);
    void SetScan2SpeedSeries(const std::vector<std::int32_t>& series, int count);
    // Codes above 10 are ignored; no repaint.
    void SetPIScale(int code);
    void SetSpeedColor(COLORREF colour);
    void SetPIColor(COLORREF colour);

    float PIFactor() const { return m_fPIFactor; }

    OverlaySeries m_Scan1PI;
    OverlaySeries m_Scan1Speed;
    OverlaySeries m_Scan2PI;
    OverlaySeries m_Scan2Speed;
    int m_bShowScan1 = 1;
    int m_bShowScan2 = 1;
    COLORREF m_crSpeed = RGB(0xFF, 0xFF, 0);
    COLORREF m_crPI = RGB(0, 0xFF, 0);

private:
    float m_fPIFactor = 16.0f;
};

// PIF (or PO) and jitter of scan 1 over those of scan 2.
class PiPoLowerOverlay : public PiPoOverlayBase {
public:
    // first: the PIF series, or the PO series of a PO scan.
    void SetScan1Series(const std::vector<std::int32_t>& first, const std::vector<std::int32_t>& po,
                        const std::vector<std::int32_t>& jitter, int count);
    void SetScan2Series(const std::vector<std::int32_t>& first, const std::vector<std::int32_t>& po,
                        const std::vector<std::int32_t>& jitter, int count);
    // Code 11 gives 10.0, above it is ignored; no repaint.
    void SetPIFScale(int code);
    // The code is kept; codes above 6 keep the factor. No repaint.
    void SetJitterScale(int code);
    void SetPOColor(COLORREF colour);
    void SetPIFJitterColors(COLORREF pifColour, COLORREF jitterColour);

    float PIFFactor() const { return m_fPIFFactor; }
    float JitterFactor() const { return m_fJitterFactor; }
    int JitterScaleCode() const { return m_nJitterScale; }

    OverlaySeries m_Scan1First;
    OverlaySeries m_Scan1PO;
    OverlaySeries m_Scan1Jitter;
    OverlaySeries m_Scan2First;
    OverlaySeries m_Scan2PO;
    OverlaySeries m_Scan2Jitter;
    int m_bShowPIF1 = 1;
    int m_bShowPIF2 = 1;
    int m_bShowJitter1 = 1;
    int m_bShowJitter2 = 1;
    COLORREF m_crPO = RGB(0xFF, 0xFF, 0);
    COLORREF m_crPIF = RGB(0, 0xFF, 0);
    COLORREF m_crJitter = RGB(0xFF, 0x0A, 0xFF);

private:
    float m_fPIFFactor = 16.0f;
    float m_fJitterFactor = 4.0f;
    int m_nJitterScale = 0;
};

// The overlays on a 450 x 162 plot: background and grid, scan 1 (sample i
// in column i), scan 2 over it, the jitter lines (lower), then the four
// markers. Scan 2 is drawn also when scan 1 holds no samples.
std::vector<PlotStep> BuildUpperOverlayPlot(const PiPoUpperOverlay& overlay);
std::vector<PlotStep> BuildLowerOverlayPlot(const PiPoLowerOverlay& overlay);
