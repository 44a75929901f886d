#pragma once

#include "core/graphs/PiPoLowerGraph.h"
#include "core/graphs/PiPoUpperGraph.h"
#include "core/pipo/ScanDisplays.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

// Scale code k (2..10) is a full scale of 10 x 2^(k-2) counts; the scale
// boxes list "Auto Peak" and "Auto Avg" at positions 0 and 1, so a box
// position is the code.
int FullScaleForCode(int code);
// The code "Auto Peak" picks for a peak: the smallest full scale that holds it.
int ScaleCodeForPeak(int peak);

// The captions of a left axis at 0.8, 0.6, 0.4 and 0.2 of its height (top to
// bottom) for codes up to 10 (codes below 2 as 2), and of the jitter axis at
// 0.2 ... 0.8 (bottom to top) for codes up to 6 (below 2 as 2). The scan
// window and the compare window show the same.
std::array<std::string, 4> LeftAxisCaptions(int code);
std::array<std::string, 4> JitterAxisCaptions(int code);

// The scales of the scan window's two plots: the left axes (PI upper, PIF
// lower), the jitter axis (lower right) and the speed axis (upper right),
// with their captions. The last upper, lower and jitter codes are kept for
// the whole process, so that a code of -1 re-applies them. Where a graph is
// given, the code is handed to it (which repaints it).
class ScanScales {
public:
    struct Axis {
        int code = 0;
        int fullScale = 10;
        bool automatic = false;
        bool automaticByPeak = false;
        std::array<std::string, 4> captions;  // see each setter for the order
    };

    // Captions top to bottom (0.8, 0.6, 0.4, 0.2 of the full scale); codes
    // below 2 are automatic with full scale 10; codes above 10 change nothing
    // but are remembered. Returns the code used.
    int SetUpperScale(int code, PiPoUpperGraph* graph);
    int SetLowerScale(int code, PiPoLowerGraph* graph);
    // The upper full scale alone, code and captions kept (the NEC and iHAS
    // engines start their spike filter at 10).
    void SetUpperFullScale(int fullScale) { m_upper.fullScale = fullScale; }
    // Captions bottom to top; full scale in tenths of a percent. Codes 0 and
    // 1 are automatic; other negative codes change nothing.
    int SetJitterAxis(int code, PiPoLowerGraph* graph);
    // Band 0..3 for speeds up to 4, 8, 16, 32x (above 32 counts as 0); the
    // captions bottom to top. A negative speed changes nothing. Returns the
    // speed used.
    double SetSpeedAxis(double speed, PiPoUpperGraph* graph);

    // The scale boxes: a position above 1 is a fixed scale; "Auto Peak" (0)
    // picks the code from the scan's peak, "Auto Avg" (1) keeps full scale 10.
    void OnSelchangePIScale(int position, int piPeak, PiPoUpperGraph* graph);
    void OnSelchangePIFScale(int position, int pifPeak, PiPoLowerGraph* graph);
    // The jitter box ("Auto Peak", "Auto Avg", "0 - 4%" ... "0-80%").
    void ApplyJitterScaleChoice(int index, PiPoLowerGraph* graph);

    const Axis& Upper() const { return m_upper; }
    const Axis& Lower() const { return m_lower; }
    const Axis& Jitter() const { return m_jitter; }
    int SpeedBand() const { return m_speedBand; }
    const std::array<std::string, 4>& SpeedCaptions() const { return m_speedCaptions; }

private:
    Axis m_upper;
    Axis m_lower;
    Axis m_jitter{0, 40, false, false, {}};
    int m_speedBand = 0;
    std::array<std::string, 4> m_speedCaptions;
};

// Which controls the series toggles show and enable.
struct SeriesToggleControls {
    bool piRadiosEnabled = true;  // PI "Line"/"Block"
    bool upperLeftCaptionsShown = true;
    bool speedCaptionsShown = true;
    bool pifRadiosEnabled = true;  // PIF "Line"/"Block"
    bool lowerLeftCaptionsShown = true;
    bool jitterCaptionsShown = true;
    // "Instant"/"Avg": unset while a scan runs with jitter shown (left as
    // they are).
    std::optional<bool> jitterModeEnabled = true;
};
SeriesToggleControls ControlsForSeriesToggles(const ScanShowFlags& show, bool scanRunning);

// A position reported by the newer BenQ loop as an address: below the end of
// layer 0 it lies on the first layer (+30000h), otherwise it is folded back
// from the second layer and masked.
std::uint32_t GetLayerAddress(std::uint32_t position, std::uint32_t layer0End, std::uint32_t mask);
