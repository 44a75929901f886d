#pragma once

#include "core/graphs/PiPoGraphBase.h"

#include <cstddef>

struct PiPoUpperState {
    PiPoUpperData data;
    PiPoGraphLook look;
    // Series pens keep their colours when a record is loaded, until the
    // owner sets the series colours again.
    COLORREF speedPen = PiPoUpperData().speedColor;
    COLORREF piPen = PiPoUpperData().piColor;
};

// The upper PI/PO scan graph: the PI error series and the read-speed series,
// always of equal length. Widgets paint it with BuildUpperGraphPlot.
class PiPoUpperGraph : public PiPoGraphBase<PiPoUpperState> {
public:
    PiPoUpperGraph() = default;

    // One sample: the largest PI of the interval and the speed times ten.
    void AddPoint(int pi, int speed);
    std::size_t GetPointCount() const;

    void SetShowSeries(int showPI, int showSpeed);
    // Modes are the "Line" (0) / "Block" (1) radio positions.
    void SetPlotModes(int piMode, int speedMode);
    void SetPIScale(int code);
    void SetSpeedScale(int band);
    int GetPIScaleCode() const;
    void SetSpeedColor(COLORREF colour);
    void SetPIColor(COLORREF colour);

    // The largest speed sample, 0 when there is no positive one.
    int GetMaxSpeed() const;

    // Repaints what was appended.
    void RefreshPoints()
    {
        Append([](PiPoUpperState&) {});
    }
    void ClearGraph();

    // The saved record's contents, and loading one: every field is taken as
    // read, the samples are appended to those already held.
    PiPoUpperData StoreRecord() const;
    void LoadRecord(const PiPoUpperData& record);
};
