#include "core/graphs/ScanCompare.h"

#include "core/base/Format.h"
#include "core/pipo/ScanFile.h"
#include "core/pipo/ScanScales.h"

#include <algorithm>
#include <cmath>

namespace {

using Captions = std::array<std::string, 4>;

bool JitterMeasured(const ScanDisplayTexts& displays)
{
    const auto measured = [](const std::string& text) {
        const double value = LeadingDouble(text);
        return std::isfinite(value) && value > 0.0;
    };
    return measured(displays.jitterAvg) && measured(displays.jitterPeak);
}

int SampleCount(const std::vector<std::int32_t>& series)
{
    return static_cast<int>(std::min<std::size_t>(series.size(), INT32_MAX));
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
    view.displays = DisplayTextsFromValues(file.displays);
    view.mediaType = file.mediaType;
    view.bookType = file.bookType;
    view.midCode = file.midCode;
    view.driveDisplay = file.driveDisplay;
    view.status = file.status;
    return view;
}

std::optional<Captions> CompareScaleCaptions(int code)
{
    if (code > 10)
        return std::nullopt;
    return LeftAxisCaptions(code);
}

std::optional<Captions> CompareJitterCaptions(int code)
{
    if (code > 6)
        return std::nullopt;
    Captions captions = JitterAxisCaptions(code);
    std::reverse(captions.begin(), captions.end());
    return captions;
}

CompareScales CommonScales(const ScanSlotView& scan1, const ScanSlotView& scan2)
{
    return {std::max(scan1.piScaleCode, scan2.piScaleCode), std::max(scan1.pifScaleCode, scan2.pifScaleCode),
            std::max(scan1.jitterScaleCode, scan2.jitterScaleCode)};
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

CompareScanCaptions CompareCaptionsForScan(int index, bool poMode)
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
    captions.jitterEnabled = !poMode;
    return captions;
}

QualityRatingCaption RateComparedScan(const ScanSlotView& scan)
{
    return RateScanDisplays(scan.displays, !scan.poMode && JitterMeasured(scan.displays), "Quality");
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
