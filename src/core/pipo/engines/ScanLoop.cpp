#include "core/pipo/engines/ScanLoop.h"

#include "core/base/Format.h"
#include "core/base/LogFile.h"
#include "core/base/UserPrompt.h"
#include "core/drive/DriveContext.h"
#include "core/drive/DriveLoss.h"
#include "core/graphs/PiPoLowerGraph.h"
#include "core/graphs/PiPoUpperGraph.h"
#include "core/pipo/ScanContext.h"
#include "core/pipo/ScanControlIds.h"
#include "core/pipo/ScanDriveSteps.h"
#include "core/pipo/ScanSink.h"
#include "scsi/Bytes.h"
#include "scsi/DiscStructure.h"
#include "scsi/Profiles.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr std::uint32_t kDefaultLayerZeroEnd = 2000158;
constexpr std::uint32_t kStructureLength = disc_structure::kPhysicalFormatLength;
constexpr std::uint64_t kEndShortBy = 1023;
constexpr std::uint64_t kEndPassedBy = 511;
constexpr float kSectorsToKiB = 2048.0F * 0.0009765625F;
constexpr float kOneXKiBPerMs = 1.385F;
constexpr float kFastestSpeed = 32.0F;
constexpr std::int64_t kLargestJitterScale = 800;
// A BD's points: its sectors within these, the rest of the 450 spare.
constexpr std::uint64_t kBdAxisPoints = 440;

void SetAxisCaptions(ScanContext& context, const std::array<std::string, 4>& captions)
{
    constexpr std::array<int, 4> kIds = {scan_control::kAxisCaptionB1, scan_control::kAxisCaptionB2,
                                         scan_control::kAxisCaptionB3, scan_control::kAxisCaptionB4};
    for (std::size_t index = 0; index < kIds.size(); ++index)
        context.sink.SetCaption(kIds[index], captions[index]);
}

template <class Use>
void ForBothGraphs(ScanContext& context, Use use)
{
    if (context.m_pUpperGraph != nullptr)
        use(*context.m_pUpperGraph);
    if (context.m_pLowerGraph != nullptr)
        use(*context.m_pLowerGraph);
}

// The x-axis captions and both markers (capacity and layer break).
void ShowDiscExtent(ScanContext& context, ScanMedium& medium)
{
    if (medium.layerField == 0) {
        SetAxisCaptions(context, {"1GB", "2GB", "3GB", "4GB"});
    } else {
        medium.factor = 2;
        SetAxisCaptions(context, {"2GB", "4GB", "6GB", "8GB"});
    }
    const bool bd = profile::IsBdProfile(medium.profile);
    if (bd) {
        // The whole BD on the axis: each caption a whole number of GB on.
        const std::uint64_t sectors = std::uint64_t{medium.lastLba} + 1;
        const std::uint64_t perFactor = kSectorsPerPoint * kBdAxisPoints;
        medium.factor = static_cast<int>(std::max<std::uint64_t>(1, (sectors + perFactor - 1) / perFactor));
        const int step = medium.factor;
        SetAxisCaptions(
            context,
            {Format("%dGB", step), Format("%dGB", 2 * step), Format("%dGB", 3 * step), Format("%dGB", 4 * step)});
    }
    const float sizeInHalfGiB = static_cast<float>(std::ldexp(static_cast<double>(medium.lastLba), -19));
    const int perHalfGiB = 100 / medium.factor;
    int x = 0;
    if (bd) {
        x = static_cast<int>(sizeInHalfGiB * 100.0F / static_cast<float>(medium.factor));
        ForBothGraphs(context, [](auto& graph) { graph.ClearSmallDiscScale(); });
    } else if (profile::IsCdProfile(medium.profile)) {
        SetAxisCaptions(context, {"200MB", "400MB", "600MB", "800MB"});
        x = static_cast<int>(static_cast<float>(medium.lastLba / 51200.0) * 50);
        ForBothGraphs(context, [](auto& graph) { graph.SetSmallDiscScale(1); });
    } else if (profile::IsDdcdProfile(medium.profile)) {
        SetAxisCaptions(context, {"0.4GB", "0.8GB", "1.2GB", "1.6GB"});
        x = static_cast<int>(sizeInHalfGiB * static_cast<float>(perHalfGiB));
        ForBothGraphs(context, [](auto& graph) { graph.SetSmallDiscScale(1); });
    } else {
        x = static_cast<int>(sizeInHalfGiB * static_cast<float>(perHalfGiB));
        if (medium.layerField == 0)
            ForBothGraphs(context, [](auto& graph) { graph.ClearSmallDiscScale(); });
    }
    const COLORREF colour = context.choices.markerColour;
    ForBothGraphs(context, [&](auto& graph) { graph.SetCapacityMarker(x, colour); });
    if (medium.factor == 2 && !bd) {
        const std::uint32_t layerEnd = medium.layer0End != 0 ? medium.layer0End : kDefaultLayerZeroEnd;
        const int breakX = static_cast<int>(static_cast<float>(std::ldexp(static_cast<double>(layerEnd), -19)) * 50.0F);
        ForBothGraphs(context, [&](auto& graph) { graph.SetLayerBreakMarker(breakX, colour); });
    } else {
        ForBothGraphs(context, [](auto& graph) { graph.SetLayerBreakMarker(0, 0); });
    }
}

std::uint32_t CountAbove(std::uint32_t count, std::int32_t average)
{
    return count > kCountLimit ? static_cast<std::uint32_t>(average) : count;
}

// The ladders' rung: the smallest full scale that holds the value.
template <class Axis, class Set>
void ApplyLadder(ScanContext& context, Axis axis, Set set, std::uint32_t peak, std::int64_t averageValue)
{
    context.scales.With([&](ScanScales& scales) {
        const ScanScales::Axis& current = (scales.*axis)();
        if (!current.automatic || peak <= static_cast<std::uint32_t>(current.fullScale))
            return;
        const std::int64_t value = current.automaticByPeak ? std::int64_t{peak} : averageValue;
        set(scales, ScaleCodeForPeak(static_cast<int>(std::clamp<std::int64_t>(value, 0, kCountLimit))));
    });
}

}  // namespace

// --- ScanRun ---

ScanRun::ScanRun(ScanContext& scanContext, std::function<void()> leaveVendorMode) :
    context(scanContext), m_leaveVendorMode(std::move(leaveVendorMode))
{
}

ScanRun::~ScanRun()
{
    if (m_ended)
        return;
    try {
        GiveDriveBack();
        context.g_bErrorTestRunning = 0;
        context.sink.OnStop();
    } catch (...) {  // NOLINT(bugprone-empty-catch): nothing more can be given back
    }
}

void ScanRun::Begin(const std::string& status)
{
    m_began = true;
    if (!context.stopBeforeBegin.exchange(false))
        context.g_bErrorTestRunning = 1;
    context.sink.SetStatus(status);
}

bool ScanRun::StopRequested() const
{
    return m_began && context.g_bErrorTestRunning == 0;
}

void ScanRun::GiveDriveBack()
{
    if (m_driveGivenBack)
        return;
    m_driveGivenBack = true;
    if (m_leaveVendorMode)
        m_leaveVendorMode();
    LockTray(context, false);
    context.trayGivenBack = true;
}

void ScanRun::EndStopped(const std::string& status)
{
    GiveDriveBack();
    context.sink.SetStatus(status);
    context.g_bErrorTestRunning = 0;
    context.sink.OnStop();
    m_ended = true;
}

void ScanRun::Complete()
{
    Finish(std::nullopt, true);
}

void ScanRun::Complete(const std::string& endText, bool reachedEnd)
{
    Finish(endText, reachedEnd);
}

void ScanRun::Finish(const std::optional<std::string>& endText, bool reachedEnd)
{
    const bool completed = reachedEnd && m_began && !StopRequested();
    if (m_leaveVendorMode) {
        m_leaveVendorMode();
        m_leaveVendorMode = nullptr;
    }
    context.sink.OnStop();
    if (completed)
        context.sink.SetProgress(100);
    GiveDriveBack();
    context.sink.SetStatus(endText ? *endText : completed ? "Test Complete" : "Ready");
    if (context.state.m_nGraphSlot == 1)
        context.state.m_bNotSaved1 = 1;
    else
        context.state.m_bNotSaved2 = 1;
    context.sink.EnableControl(scan_control::kStart, true);
    context.sink.EnableControl(scan_control::kReadSpeed, false);
    context.sink.ShowQualityRating();
    context.sink.Beep(MB_ICONINFORMATION);
    context.sink.RestoreStatusDisplay(context.state.m_strSavedStatus);
    context.g_bErrorTestRunning = 0;
    m_ended = true;
}

void RunScanEngine(ScanEngine engine, ScanContext& context)
{
    try {
        const DriveLossWatch watch(context.drive.m_ScsiCommand, context.Clock());
        engine(context);
    } catch (const DriveLostError& lost) {
        // The engine's run has given the drive and the window back on its way out.
        const std::string status = std::string("Scan ended: ") + DriveLossText(lost.loss);
        LogEntry(status);
        context.sink.SetStatus(status);
    }
}

// --- set-up ---

bool OnDvdDrive(const ScanContext& context)
{
    const CDevice* device = context.drive.list.m_pCurrentDevice;
    return device != nullptr && device->m_bDvdDrive == 1;
}

std::uint16_t ReadScanProfile(ScanContext& context)
{
    std::array<std::uint8_t, 8> answer{};
    if (context.drive.mmc.GetConfiguration(0, 0, answer.data(), answer.size()) != 0)
        return 0;
    return static_cast<std::uint16_t>(scsi::GetBe16(&answer[6]));
}

std::optional<ScanMedium> SetUpScanMedium(ScanRun& run)
{
    ScanContext& context = run.context;
    ScanMedium medium;
    medium.profile = ReadScanProfile(context);

    std::array<std::uint8_t, kStructureLength> structure{};
    if (context.drive.reads.ReadDiscStructureNoCheck(0, 0, disc_structure::kPhysicalFormat, kStructureLength,
                                                     structure.data())
        == 0) {
        const std::uint32_t end = scsi::GetBe24(&structure[17]);
        // An end at or below the data start is none: the marker takes the usual one.
        medium.layer0End = end > kDvdFirstDataSector ? end - kDvdFirstDataSector : 0;
        medium.layerField = (structure[6] >> 5) & 3;
        medium.factor = medium.layerField > 0 ? 2 : 1;
    }

    const CapacityAnswer capacity = context.drive.reads.ReadCapacityAnswer();
    medium.capacityRead = capacity.ok;
    if (!medium.capacityRead)
        return medium;
    medium.lastLba = capacity.lastLba;
    if (context.state.m_llEndLba == 0) {
        context.prompt.MessageBox("Error, media must be used before it can be scanned", "", MB_OK);
        run.EndStopped("Invalid media for command");
        return std::nullopt;
    }
    ShowDiscExtent(context, medium);
    return medium;
}

ScanSpeed ScanSpeedFor(int selection)
{
    // clang-format off
    static constexpr std::array<ScanSpeed, 7> kSpeeds = {{
        {0xFF, 0xFF, 0},  // maximum
        {0x05, 0x69, 0},  // 1385 kB/s
        {0x0A, 0xD2, 0},  // 2770
        {0x15, 0xA4, 1},  // 5540
        {0x20, 0x76, 1},  // 8310
        {0x2B, 0x48, 1},  // 11080
        {0x56, 0x90, 0},  // 22160
    }};
    // clang-format on
    if (selection < 0 || static_cast<std::size_t>(selection) >= kSpeeds.size())
        selection = 0;
    return kSpeeds[static_cast<std::size_t>(selection)];
}

ScanSpeed SetScanSpeed(ScanContext& context, int selection)
{
    const ScanSpeed speed = ScanSpeedFor(selection);
    const auto kbps = static_cast<std::uint16_t>((speed.high << 8) | speed.low);
    context.drive.mmc.SetCdSpeedKBps(kbps, kbps, speed.rotation);
    return speed;
}

// --- graph points ---

PointClock::PointClock(ScanContext& context, std::uint64_t pointSectors) :
    m_context(context), m_pointSectors(pointSectors)
{
}

void PointClock::Start()
{
    m_startMs = m_context.Clock().NowMs();
}

void PointClock::Advance(std::int64_t distance)
{
    m_intervalDistance += distance;
    m_speedDistance += distance;
}

bool PointClock::PointDue() const
{
    return m_intervalDistance >= static_cast<std::int64_t>(m_pointSectors);
}

int PointClock::TakePoint()
{
    const int speedTenths = TakeSpeed();
    TakeSectors();
    return speedTenths;
}

bool PointClock::PointExceeded() const
{
    return m_intervalDistance > static_cast<std::int64_t>(m_pointSectors);
}

void PointClock::TakeSectors()
{
    m_intervalDistance -= static_cast<std::int64_t>(m_pointSectors);
}

int PointClock::TakeSpeed()
{
    const std::uint64_t now = m_context.Clock().NowMs();
    const std::uint64_t elapsed = now - m_startMs;
    m_olderSpeedDistance = m_previousSpeedDistance;
    m_previousSpeedDistance = m_speedDistance;
    if (m_olderSpeedDistance != 0 && m_previousSpeedDistance != 0 && m_speedDistance != 0) {
        const std::uint64_t sum = static_cast<std::uint64_t>(m_olderSpeedDistance)
            + static_cast<std::uint64_t>(m_previousSpeedDistance) + static_cast<std::uint64_t>(m_speedDistance);
        m_speedDistance = static_cast<std::int64_t>(sum / 3);
    }
    m_startMs = now;
    const float kib = static_cast<float>(static_cast<std::uint64_t>(m_speedDistance)) * kSectorsToKiB;
    const float time = static_cast<float>(elapsed) * kOneXKiBPerMs;
    float speed = time > 0.0F ? kib / time : 0.0F;
    if (!(speed <= kFastestSpeed))
        speed = 0.0F;
    m_maxSpeed = std::max(m_maxSpeed, speed);
    m_context.scales.With(
        [&](ScanScales& scales) { scales.SetSpeedAxis(static_cast<double>(m_maxSpeed), m_context.m_pUpperGraph); });
    m_speedDistance = 0;
    return static_cast<int>(speed * 10.0F);
}

// --- figures ---

void MaximaAverages::AddRead(std::uint32_t pi, std::uint32_t pif)
{
    samplePI = CountAbove(samplePI + pi, piAverage);
    samplePIF = CountAbove(pif, pifAverage);
    piTotal += pi;
    pifTotal += pif;
}

void MaximaAverages::CloseSample(ScanContext& context)
{
    maxPI = std::max(maxPI, samplePI);
    maxPIF = std::max(maxPIF, samplePIF);
    if (firstSample) {
        piSum = maxPI;
        pifSum = maxPIF;
        firstSample = false;
    }
    piAverage = static_cast<std::int32_t>(piSum / n);
    pifAverage = static_cast<std::int32_t>(pifSum / n);
    auto raise = [](std::atomic<int>& peak, std::uint32_t value) {
        if (value > static_cast<std::uint32_t>(peak.load()))
            peak = static_cast<int>(value);
    };
    raise(context.state.m_nPIPeak, samplePI);
    raise(context.state.m_nPIFPeak, samplePIF);
    samplePI = 0;
}

void MaximaAverages::ClosePoint()
{
    ++n;
    piSum += maxPI;
    pifSum += maxPIF;
    maxPI = 0;
    maxPIF = 0;
}

// --- ladders, end, progress, displays ---

void ApplyUpperLadder(ScanContext& context, std::int64_t averageValue)
{
    ApplyLadder(
        context, &ScanScales::Upper,
        [&](ScanScales& scales, int code) { scales.SetUpperScale(code, context.m_pUpperGraph); },
        static_cast<std::uint32_t>(context.state.m_nPIPeak.load()), averageValue);
}

void ApplyLowerLadder(ScanContext& context, std::int64_t averageValue)
{
    ApplyLadder(
        context, &ScanScales::Lower,
        [&](ScanScales& scales, int code) { scales.SetLowerScale(code, context.m_pLowerGraph); },
        static_cast<std::uint32_t>(context.state.m_nPIFPeak.load()), averageValue);
}

void ApplyJitterLadder(ScanContext& context, std::int64_t peak, std::int64_t averageValue)
{
    context.scales.With([&](ScanScales& scales) {
        const ScanScales::Axis& axis = scales.Jitter();
        if (!axis.automatic || peak <= axis.fullScale)
            return;
        const std::int64_t value = axis.automaticByPeak ? peak : averageValue;
        if (value > kLargestJitterScale)
            return;
        // 4 %, 10 %, 20 %, 40 %, 80 %: codes 2 to 6.
        static constexpr std::array<std::int64_t, 5> kFullScales = {40, 100, 200, 400, 800};
        int code = 2;
        while (value > kFullScales[static_cast<std::size_t>(code - 2)])
            ++code;
        scales.SetJitterAxis(code, context.m_pLowerGraph);
    });
}

bool ReachedEnd(ScanContext& context, std::uint64_t reportedPosition)
{
    const auto running = static_cast<std::uint64_t>(context.state.m_llStartLba);
    const auto end = static_cast<std::uint64_t>(context.state.m_llEndLba);
    if (running > end || end - running > kEndShortBy)
        return false;
    if (reportedPosition <= end || reportedPosition - end > kEndPassedBy)
        return false;
    context.state.m_llStartLba = context.state.m_llEndLba;
    return true;
}

int ProgressAt(std::uint64_t position, std::uint64_t endLba)
{
    const std::uint64_t hundredth = endLba / 100;
    if (hundredth == 0)
        return position >= endLba ? 100 : 0;
    return static_cast<int>(std::min<std::uint64_t>(position / hundredth, 100));
}

void ShowProgress(ScanContext& context)
{
    context.sink.SetProgress(ProgressAt(static_cast<std::uint64_t>(context.state.m_llStartLba),
                                        static_cast<std::uint64_t>(context.state.m_llEndLba)));
}

bool UpperGraphFull(const ScanContext& context)
{
    return context.m_pUpperGraph != nullptr && context.m_pUpperGraph->GetPointCount() > kMaxUpperPoints;
}

void SetCountDisplays(ScanContext& context, const MaximaAverages& figures)
{
    SetCountDisplays(context, static_cast<std::int32_t>(figures.piTotal), figures.piAverage,
                     static_cast<std::int32_t>(figures.pifTotal), figures.pifAverage);
}

void SetCountDisplays(ScanContext& context, std::int32_t piTotal, std::int32_t piAverage, std::int32_t pifTotal,
                      std::int32_t pifAverage)
{
    ScanDisplayTexts& texts = context.displays;
    texts.piTotal = Format("%d", piTotal);
    texts.piAvg = Format("%d", piAverage);
    texts.piPeak = Format("%d", context.state.m_nPIPeak.load());
    texts.pifTotal = Format("%d", pifTotal);
    texts.pifAvg = Format("%d", pifAverage);
    texts.pifPeak = Format("%d", context.state.m_nPIFPeak.load());
}

void ShowSetUpDisplays(ScanContext& context, const char* pifAverage)
{
    context.displays.pifAvg = pifAverage;
    context.displays.jitterAvg = context.displays.jitterPeak = context.displays.jitterInst = "---";
    ShowDisplays(context);
}

void AddGraphPoint(ScanContext& context, int pi, int speedTenths, int pif, int jitter)
{
    if (context.m_pUpperGraph != nullptr)
        context.m_pUpperGraph->AddPoint(pi, speedTenths);
    if (context.m_pLowerGraph != nullptr)
        context.m_pLowerGraph->AddPoint(pif, 0, jitter);
}

void SetJitterDisplays(ScanContext& context, double peak, double average, double last)
{
    ScanDisplayTexts& texts = context.displays;
    texts.jitterPeak = Format("%.1f%%", peak / 10.0);
    texts.jitterAvg = Format("%.1f%%", average / 10.0);
    texts.jitterInst = Format("%.1f%%", last / 10.0);
}

void ShowDisplays(ScanContext& context)
{
    context.sink.SetDisplays(context.displays);
}

void RedrawGraphs(ScanContext& context)
{
    ForBothGraphs(context, [](auto& graph) { graph.Redraw(); });
}

// --- sampling, fixed speeds ---

std::uint64_t SamplingFactor(int accuracyIndex)
{
    return accuracyIndex >= 0 && accuracyIndex <= 3 ? std::uint64_t{1} << accuracyIndex : 1;
}

void SetReadSpeed(ScanContext& context, std::uint16_t kbps)
{
    context.drive.mmc.SetCdSpeedKBps(kbps, kbps);
}

void SetScanStreaming(ScanContext& context, std::uint32_t endLba, std::uint32_t kbps)
{
    constexpr std::uint32_t kPerSecondMs = 1000;
    context.drive.mmc.SetStreaming({.endLba = endLba,
                                    .readSize = kbps,
                                    .readTimeMs = kPerSecondMs,
                                    .writeSize = kbps,
                                    .writeTimeMs = kPerSecondMs});
}
