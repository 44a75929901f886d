#pragma once

#include "core/graphs/PiPoGraphData.h"
#include "core/graphs/PiPoOverlay.h"
#include "core/pipo/QualityRating.h"
#include "core/pipo/ScanDisplays.h"
#include "core/ui/ColorSchemes.h"

#include <array>
#include <string>

struct ScanFile;

// One scan slot ("Graph 1" or "Graph 2") of the scan window, as the compare
// window reads it when it opens.
struct ScanSlotView {
    PiPoUpperData upper;
    PiPoLowerData lower;
    bool poMode = false;  // a PO scan: PO series instead of PIF
    int piScaleCode = 0;
    int pifScaleCode = 0;
    int jitterScaleCode = 0;
    ScanDisplayTexts displays;
    std::string mediaType;
    std::string bookType;
    std::string midCode;
    std::string driveDisplay;  // the drive, or the user's comment in its place
    std::string status;
};

// A saved scan as a slot shows it after a load.
ScanSlotView ScanSlotFromFile(const ScanFile& file);

// What the compare window needs of the scan window: its two slots, its LED
// colours, and its window following the compare window's minimise and
// restore.
class ScanSlotSource {
public:
    virtual ~ScanSlotSource() = default;
    virtual ScanSlotView Slot(int index) const = 0;  // 0: "Graph 1", 1: "Graph 2"
    virtual LedColorScheme LedColors() const = 0;
    virtual void MinimizeScanWindow() = 0;
    virtual void RestoreScanWindow() = 0;
};

// The axis captions of a scale, top to bottom, as the overlay draws the
// code: a code the overlay ignores (PI above 10, PIF above 11, jitter above
// 6) draws at the first rung and is captioned so.
std::array<std::string, 4> ComparePICaptions(int code);
std::array<std::string, 4> ComparePIFCaptions(int code);
std::array<std::string, 4> CompareJitterCaptions(int code);

// On each scale the code of the scan with the larger full scale, so that
// neither scan is clipped (PIF code 11 is a full scale of 16, below code 3's
// 20); of two codes drawn alike, the one the overlay takes, else the larger.
struct CompareScales {
    int pi = 0;
    int pif = 0;
    int jitter = 0;
};
CompareScales CommonScales(const ScanSlotView& scan1, const ScanSlotView& scan2);

// False when one scan has a layer break and the other has none.
bool ScansCompatible(const ScanSlotView& scan1, const ScanSlotView& scan2);
constexpr const char* kIncompatibleScans = "Graphs are not compatible.  One is single layer, one is double layer";
// "1GB".."4GB", or "2GB".."8GB" when scan 1 has a layer break.
std::array<std::string, 4> CompareXAxisCaptions(const ScanSlotView& scan1);

// The captions that depend on whether a slot holds a PO scan.
struct CompareScanCaptions {
    std::string total;  // "PIF Total", "PO Total" ("... Total2" for scan 2)
    std::string peak;
    std::string average;
    std::string jitterInst;
    std::string jitterPeak;
    std::string graphButton;  // "PIF Graph 1", "PO Graph 2" ...
    bool jitterEnabled = true;
};
// The jitter displays are off for a PO scan unless its drive measured jitter
// too (MeasuredJitter).
CompareScanCaptions CompareCaptionsForScan(int index, bool poMode, bool jitterMeasured);
// Whether the scan's jitter series holds a measurement (drives that measure
// none record zeros).
bool MeasuredJitter(const ScanSlotView& scan);

// The rating of a scan's displays, captioned "Quality 94.58%" ("Quality"
// alone when they read all zero), by the rule of RateScan.
QualityRatingCaption RateComparedScan(const ScanSlotView& scan);

// The overlays as the window opens: series, counts, markers, line mode
// from the radio (0 = line) and every series shown; the common scales.
void FillUpperOverlay(PiPoUpperOverlay& overlay, const ScanSlotView& scan1, const ScanSlotView& scan2, int radio,
                      const CompareScales& scales);
void FillLowerOverlay(PiPoLowerOverlay& overlay, const ScanSlotView& scan1, const ScanSlotView& scan2, int radio,
                      const CompareScales& scales);
