#pragma once

#include "core/graphs/PiPoGraphBase.h"
#include "core/graphs/PiPoScaleLadders.h"

#include <cstddef>

struct PiPoLowerState {
    PiPoLowerData data;
    PiPoGraphLook look;
    int showJitter = 1;
    float jitterFactor = *JitterScaleFactor(PiPoLowerData().jitterScaleCode);
    COLORREF poPen = PiPoLowerData().poColor;
    COLORREF pifPen = PiPoLowerData().pifColor;
    COLORREF jitterPen = RGB(0xFF, 0x0A, 0xFF);
};

// The lower PI/PO scan graph: PIF and PO series of one length N, and a
// jitter series (tenths of a percent) that may be shorter or longer. Widgets
// paint it with BuildLowerGraphPlot.
class PiPoLowerGraph : public PiPoGraphBase<PiPoLowerState> {
public:
    PiPoLowerGraph() = default;

    // A jitter of -1 means none was measured: the jitter series is left alone.
    void AddPoint(int pif, int po, int jitter);
    void AddJitterPoint(int jitter);
    // A PIF sample with PO 0, jitter untouched.
    void AddPIFPoint(int pif);
    std::size_t GetPointCount() const;
    std::size_t GetJitterCount() const;

    void SetShowSeries(int showPIF, int showPO, int showJitter);
    // Modes are the "Line" (0) / "Block" (1) radio positions; no repaint.
    void SetPlotModes(int pifMode, int poMode);
    void SetPOColor(COLORREF colour);
    // The jitter colour only sets the jitter pen.
    void SetPIFJitterColors(COLORREF pifColour, COLORREF jitterColour);
    void SetPIFScale(int code);
    int GetPIFScaleCode() const;
    // The code is kept even where it leaves the factor as it was.
    void SetJitterScale(int code);
    int GetJitterScaleCode() const;

    void ClearGraph();

    // The saved record's contents, and loading one: every field is taken as
    // read (the jitter factor is not recomputed from the loaded code), the
    // samples are appended to those already held.
    PiPoLowerData StoreRecord() const;
    void LoadRecord(const PiPoLowerData& record);
};
