#include "core/pipo/ScanScales.h"

#include "core/base/Format.h"
#include "scsi/DiscStructure.h"

#include <algorithm>
#include <atomic>

namespace {

constexpr int kAutoPeakPosition = 0;
constexpr int kAutoAvgPosition = 1;
constexpr int kSmallestCode = 2;
constexpr int kLargestCode = 10;
constexpr int kLargestJitterCode = 6;
constexpr int kAutomaticFullScale = 10;
// The automatic jitter modes start from this full scale.
constexpr int kAutomaticJitterFullScale = 20;

std::atomic<int> g_lastUpperCode{0};
std::atomic<int> g_lastLowerCode{0};
std::atomic<int> g_lastJitterCode{0};

// -1 stands for the last code; any other code becomes the last one.
int ResolveCode(int code, std::atomic<int>& last)
{
    if (code == -1)
        return last.load();
    last.store(code);
    return code;
}

void ApplyLeftAxis(ScanScales::Axis& axis, int code)
{
    if (code > kLargestCode)
        return;
    if (code < kSmallestCode) {
        axis.automatic = true;
        axis.fullScale = kAutomaticFullScale;
    } else {
        axis.fullScale = FullScaleForCode(code);
    }
    axis.captions = LeftAxisCaptions(code);
    axis.code = code;
}

template <class SetScale>
void SelectLeftScale(ScanScales::Axis& axis, int position, int peak, SetScale setScale)
{
    setScale(position);
    if (position > kAutoAvgPosition) {
        axis.automatic = false;
    } else if (position == kAutoPeakPosition || position == kAutoAvgPosition) {
        axis.fullScale = kAutomaticFullScale;
        axis.automatic = true;
        axis.automaticByPeak = position == kAutoPeakPosition;
        if (position == kAutoPeakPosition)
            setScale(ScaleCodeForPeak(peak));
    }
}

}  // namespace

std::array<std::string, 4> LeftAxisCaptions(int code)
{
    const int full = FullScaleForCode(code);
    return {Format("%d", full * 8 / 10), Format("%d", full * 6 / 10), Format("%d", full * 4 / 10),
            Format("%d", full * 2 / 10)};
}

std::array<std::string, 4> JitterAxisCaptions(int code)
{
    // A fifth of the full scale each, except on the 4 % scale, which keeps
    // whole percents.
    static constexpr int kCaptionSteps[] = {1, 1, 1, 2, 4, 8, 16};
    const int step = kCaptionSteps[std::clamp(code, kSmallestCode, kLargestJitterCode)];
    return {Format("%d%%", step), Format("%d%%", 2 * step), Format("%d%%", 3 * step), Format("%d%%", 4 * step)};
}

int FullScaleForCode(int code)
{
    return kAutomaticFullScale << (std::clamp(code, kSmallestCode, kLargestCode) - kSmallestCode);
}

int ScaleCodeForPeak(int peak)
{
    int code = kSmallestCode;
    while (code < kLargestCode && peak > FullScaleForCode(code))
        ++code;
    return code;
}

int ScanScales::SetUpperScale(int code, PiPoUpperGraph* graph)
{
    code = ResolveCode(code, g_lastUpperCode);
    ApplyLeftAxis(m_upper, code);
    if (graph != nullptr)
        graph->SetPIScale(code);
    return code;
}

int ScanScales::SetLowerScale(int code, PiPoLowerGraph* graph)
{
    code = ResolveCode(code, g_lastLowerCode);
    ApplyLeftAxis(m_lower, code);
    if (graph != nullptr)
        graph->SetPIFScale(code);
    return code;
}

int ScanScales::SetJitterAxis(int code, PiPoLowerGraph* graph)
{
    if (code == -1)
        code = g_lastJitterCode.load();
    if (code < 0)
        return code;
    g_lastJitterCode.store(code);
    if (code <= kLargestJitterCode) {
        // Full scale in tenths of a percent.
        static constexpr int kFullScales[] = {40, 40, 40, 100, 200, 400, 800};
        if (code < kSmallestCode)
            m_jitter.automatic = true;
        m_jitter.fullScale = kFullScales[code];
        m_jitter.captions = JitterAxisCaptions(code);
        m_jitter.code = code;
    }
    if (graph != nullptr)
        graph->SetJitterScale(code);
    return code;
}

double ScanScales::SetSpeedAxis(double speed, PiPoUpperGraph* graph)
{
    if (speed < 0)
        return speed;
    if (!(speed <= 32))
        speed = 0;
    m_speedBand = speed <= 4 ? 0 : speed <= 8 ? 1 : speed <= 16 ? 2 : 3;
    const int step = 1 << m_speedBand;
    m_speedCaptions = {Format("%dx", step), Format("%dx", 2 * step), Format("%dx", 3 * step), Format("%dx", 4 * step)};
    if (graph != nullptr)
        graph->SetSpeedScale(m_speedBand);
    return speed;
}

void ScanScales::OnSelchangePIScale(int position, int piPeak, PiPoUpperGraph* graph)
{
    SelectLeftScale(m_upper, position, piPeak, [&](int code) { SetUpperScale(code, graph); });
}

void ScanScales::OnSelchangePIFScale(int position, int pifPeak, PiPoLowerGraph* graph)
{
    SelectLeftScale(m_lower, position, pifPeak, [&](int code) { SetLowerScale(code, graph); });
}

void ScanScales::ApplyJitterScaleChoice(int index, PiPoLowerGraph* graph)
{
    if (index < 0)
        return;
    if (index == kAutoPeakPosition || index == kAutoAvgPosition) {
        // "Auto Peak" starts on the 10 % axis, "Auto Avg" on the automatic one.
        SetJitterAxis(index == kAutoPeakPosition ? 3 : 1, graph);
        m_jitter.automatic = true;
        m_jitter.fullScale = kAutomaticJitterFullScale;
        m_jitter.automaticByPeak = index == kAutoPeakPosition;
    } else {
        SetJitterAxis(index, graph);
        m_jitter.automatic = false;
    }
}

SeriesToggleControls ControlsForSeriesToggles(const ScanShowFlags& show, bool scanRunning)
{
    SeriesToggleControls controls;
    controls.piRadiosEnabled = controls.upperLeftCaptionsShown = show.showPI != 0;
    controls.speedCaptionsShown = show.showSpeed != 0;
    controls.pifRadiosEnabled = controls.lowerLeftCaptionsShown = show.showPIF != 0;
    controls.jitterCaptionsShown = show.showJitter != 0;
    if (show.showJitter == 0)
        controls.jitterModeEnabled = false;
    else if (scanRunning)
        controls.jitterModeEnabled = std::nullopt;
    else
        controls.jitterModeEnabled = true;
    return controls;
}

std::uint32_t GetLayerAddress(std::uint32_t position, std::uint32_t layer0End, std::uint32_t mask)
{
    if (position < layer0End)
        return position + kDvdFirstDataSector;
    return (position - 2 * layer0End - 2) & mask;
}
