#include "core/graphs/ScanCompare.h"

#include "core/base/Format.h"
#include "core/graphs/PiPoScaleLadders.h"
#include "core/pipo/ScanFile.h"
#include "core/pipo/ScanScales.h"

#include <algorithm>

namespace {

using Captions = std::array<std::string, 4>;

int SampleCount(const std::vector<std::int32_t>& series)
{
    return static_cast<int>(std::min<std::size_t>(series.size(), INT32_MAX));
}

// The code an overlay draws at when it ignores the code given: its first rung.
constexpr int kFirstRung = 2;

// The pixels per unit a code draws with: a code the overlay ignores keeps the
// first rung's.
float DrawnFactor(std::optional<float> (*factorOf)(int), int code)
{
    return factorOf(code).value_or(*factorOf(kFirstRung));
}

// Of two codes, the one of the larger full scale (the smaller factor); of
// two drawn alike, the one the overlay takes, else the larger.
int Wider(int code1, int code2, std::optional<float> (*factorOf)(int))
{
    const float factor1 = DrawnFactor(factorOf, code1);
    const float factor2 = DrawnFactor(factorOf, code2);
    if (factor1 != factor2)
        return factor1 < factor2 ? code1 : code2;
    const bool taken1 = factorOf(code1).has_value();
    if (taken1 != factorOf(code2).has_value())
        return taken1 ? code1 : code2;
    return std::max(code1, code2);
}

// The counts where the captions sit: at 0.8, 0.6, 0.4 and 0.2 of the
// 160-pixel plot, as on the scan window's axes.
Captions CountCaptions(std::optional<float> factor)
{
    const double full = kPiPoBaseline / static_cast<double>(factor.value_or(*PIScaleFactor(kFirstRung)));
    return {Format("%g", full * 0.8), Format("%g", full * 0.6), Format("%g", full * 0.4), Format("%g", full * 0.2)};
}

}  // namespace

ScanSlotView ScanSlotFromFile(const ScanFile& file)
{
    ScanSlotView view;
    view.upper = file.upper;
    view.lower = file.lower;
    view.piScaleCode = file.piScaleCode;
    view.pifScaleCode = file.pifScaleCode;
    view.jitterScaleCode = file.jitterScaleCode;
    view.poMode = file.show.showPO == 1;
    view.displays = DisplayTextsFromValues(file.displays);
    view.mediaType = file.mediaType;
    view.bookType = file.bookType;
    view.midCode = file.midCode;
    view.driveDisplay = file.driveDisplay;
    view.status = file.status;
    return view;
}

std::array<std::string, 4> ComparePICaptions(int code)
{
    return CountCaptions(PIScaleFactor(code));
}

std::array<std::string, 4> ComparePIFCaptions(int code)
{
    return CountCaptions(PIFScaleFactor(code));
}

// As the scan window's jitter axis, from the top down.
std::array<std::string, 4> CompareJitterCaptions(int code)
{
    Captions captions = JitterAxisCaptions(JitterScaleFactor(code) ? code : kFirstRung);
    std::reverse(captions.begin(), captions.end());
    return captions;
}

CompareScales CommonScales(const ScanSlotView& scan1, const ScanSlotView& scan2)
{
    return {Wider(scan1.piScaleCode, scan2.piScaleCode, PIScaleFactor),
            Wider(scan1.pifScaleCode, scan2.pifScaleCode, PIFScaleFactor),
            Wider(scan1.jitterScaleCode, scan2.jitterScaleCode, JitterScaleFactor)};
}

bool ScansCompatible(const ScanSlotView& scan1, const ScanSlotView& scan2)
{
    return (scan1.upper.frame.layerBreakX == 0) == (scan2.upper.frame.layerBreakX == 0);
}

Captions CompareXAxisCaptions(const ScanSlotView& scan1)
{
    if (scan1.upper.frame.layerBreakX == 0)
        return {"1GB", "2GB", "3GB", "4GB"};
    return {"2GB", "4GB", "6GB", "8GB"};
}

CompareScanCaptions CompareCaptionsForScan(int index, bool poMode, bool jitterMeasured)
{
    const std::string suffix = index == 0 ? "" : "2";
    const std::string series = poMode ? "PO" : "PIF";
    CompareScanCaptions captions;
    captions.total = series + " Total" + suffix;
    captions.peak = series + " Peak" + suffix;
    captions.average = series + " Avg" + suffix;
    captions.jitterInst = "Jitter Inst" + suffix;
    captions.jitterPeak = "Jitter Peak" + suffix;
    captions.graphButton = series + " Graph " + std::to_string(index + 1);
    captions.jitterEnabled = !poMode || jitterMeasured;
    return captions;
}

bool MeasuredJitter(const ScanSlotView& scan)
{
    return std::any_of(scan.lower.jitter.begin(), scan.lower.jitter.end(),
                       [](std::int32_t value) { return value > 0; });
}

QualityRatingCaption RateComparedScan(const ScanSlotView& scan)
{
    return RateScan(scan.displays, "Quality");
}

void FillUpperOverlay(PiPoUpperOverlay& overlay, const ScanSlotView& scan1, const ScanSlotView& scan2, int radio,
                      const CompareScales& scales)
{
    overlay.m_nLineMode = overlay.m_nLineMode2 = radio == 0 ? 1 : 0;
    overlay.m_bShowScan1 = overlay.m_bShowScan2 = 1;
    overlay.SetScan1PISeries(scan1.upper.pi, SampleCount(scan1.upper.pi));
    overlay.SetScan1SpeedSeries(scan1.upper.speed, SampleCount(scan1.upper.pi));
    overlay.SetScan2PISeries(scan2.upper.pi, SampleCount(scan2.upper.pi));
    overlay.SetScan2SpeedSeries(scan2.upper.speed, SampleCount(scan2.upper.pi));
    overlay.m_nEndMarker1 = scan1.upper.frame.endMarkerX;
    overlay.m_nLayerBreak1 = scan1.upper.frame.layerBreakX;
    overlay.m_nEndMarker2 = scan2.upper.frame.endMarkerX;
    overlay.m_nLayerBreak2 = scan2.upper.frame.layerBreakX;
    overlay.SetPIScale(scales.pi);
}

void FillLowerOverlay(PiPoLowerOverlay& overlay, const ScanSlotView& scan1, const ScanSlotView& scan2, int radio,
                      const CompareScales& scales)
{
    overlay.m_nLineMode = overlay.m_nLineMode2 = radio == 0 ? 1 : 0;
    overlay.m_bShowPIF1 = overlay.m_bShowPIF2 = overlay.m_bShowJitter1 = overlay.m_bShowJitter2 = 1;
    const auto first = [](const ScanSlotView& scan) -> const std::vector<std::int32_t>& {
        return scan.poMode ? scan.lower.po : scan.lower.pif;
    };
    overlay.SetScan1Series(first(scan1), scan1.lower.po, scan1.lower.jitter, SampleCount(scan1.lower.pif));
    overlay.SetScan2Series(first(scan2), scan2.lower.po, scan2.lower.jitter, SampleCount(scan2.lower.pif));
    overlay.m_nEndMarker1 = scan1.lower.frame.endMarkerX;
    overlay.m_nLayerBreak1 = scan1.lower.frame.layerBreakX;
    overlay.m_nEndMarker2 = scan2.lower.frame.endMarkerX;
    overlay.m_nLayerBreak2 = scan2.lower.frame.layerBreakX;
    overlay.SetPIFScale(scales.pif);
    overlay.SetJitterScale(scales.jitter);
}
