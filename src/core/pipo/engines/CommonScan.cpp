#include "core/drive/DriveContext.h"
#include "core/graphs/PiPoLowerGraph.h"
#include "core/graphs/PiPoUpperGraph.h"
#include "core/pipo/ScanContext.h"
#include "core/pipo/ScanControlIds.h"
#include "core/pipo/ScanDriveSteps.h"
#include "core/pipo/ScanSink.h"
#include "core/pipo/engines/ScanLoop.h"
#include "scsi/Bytes.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr std::uint64_t kNearStartSectors = 16;
constexpr std::uint32_t kNearStartPiLimit = 120;
constexpr std::uint32_t kJitterSectors = 4096;
constexpr int kUnitWaitSeconds = 30;
constexpr std::size_t kReplyBytes = 2052;

// The Lite-On jitter read every 4096 sectors and its figures, in tenths of
// a percent.
struct JitterFigures {
    std::uint64_t distance = 0;
    std::uint64_t lba = 0;
    std::uint32_t last = 0;
    std::uint32_t sum = 0;
    std::uint32_t reads = 0;
    float average = 0.0F;
    float peak = 0.0F;

    // A refused read measured nothing: the figures stay as they were.
    void Read(ScanContext& context)
    {
        distance = 0;
        const auto jitter = context.drive.liteon.LiteonReadJitterData(static_cast<std::uint32_t>(lba), kJitterSectors);
        if (!jitter)
            return;
        last = *jitter;
        sum += last;
        ++reads;
        average = static_cast<float>(sum / reads);
        peak = std::max(peak, static_cast<float>(last));
    }
    // -1 (none) until a read was taken.
    int PointValue(const ScanContext& context) const
    {
        if (reads == 0)
            return -1;
        return context.state.m_nJitterType == 0 ? static_cast<int>(last) : static_cast<int>(average);
    }
};

void ShowFigures(ScanContext& context, const MaximaAverages& figures, const JitterFigures* jitter)
{
    SetCountDisplays(context, figures);
    if (jitter != nullptr && jitter->reads > 0)
        SetJitterDisplays(context, static_cast<double>(jitter->peak), static_cast<double>(std::trunc(jitter->average)),
                          static_cast<double>(jitter->last));
    ShowDisplays(context);
    context.sink.ShowQualityRating();
}

}  // namespace

void RunCommonScan(ScanContext& context, const CommonScanSteps& steps)
{
    ScanRun run(context);
    ScanState& state = context.state;
    const CDevice* device = context.drive.list.m_pCurrentDevice;
    MaximaAverages figures;
    JitterFigures jitter;
    JitterFigures* shownJitter = steps.jitter ? &jitter : nullptr;
    if (device != nullptr && device->m_bDvdDrive == 1) {
        const std::optional<ScanMedium> medium = SetUpScanMedium(run);
        if (!medium)
            return;
        context.displays.pifAvg = "0";
        context.displays.jitterAvg = context.displays.jitterPeak = context.displays.jitterInst = "---";
        ShowDisplays(context);
        RedrawGraphs(context);

        const ScanSpeed speed = SetScanSpeed(context, context.choices.readSpeedIndex);
        for (int spin = 0; spin < steps.preSpins; ++spin)
            PreSpin(context, speed.high, speed.low);
        PollUntilReady(context);
        context.sink.EnableControl(scan_control::kReadSpeed, false);
        run.Begin("PIE/PIF/Jitter Test Running");
        if (steps.waitsAfterSeek)
            WaitForUnitReady(context, kUnitWaitSeconds);
        else
            PollUntilReady(context);
        context.drive.mmc.Seek(static_cast<std::uint32_t>(state.m_llStartLba));
        if (steps.waitsAfterSeek)
            WaitForUnitReady(context, kUnitWaitSeconds);
        jitter.lba = static_cast<std::uint64_t>(state.m_llStartLba);

        PointClock points(context, medium->PointSectors());
        points.Start();
        std::array<std::uint8_t, kReplyBytes> reply{};
        std::uint64_t previous = 0;
        int stalled = 0;
        while (static_cast<std::uint64_t>(state.m_llStartLba) < static_cast<std::uint64_t>(state.m_llEndLba)) {
            if (steps.jitter && jitter.distance >= kJitterSectors) {
                jitter.Read(context);
                if (run.StopRequested()) {
                    run.EndStopped();
                    return;
                }
            }
            int counted = 0;
            std::int64_t groupDistance = 0;
            std::uint64_t position = 0;
            while (counted < steps.countedReadsPerGroup) {
                steps.readErrors(reply.data(), steps.replyLength);
                position = scsi::GetBe24(&reply[1]);
                if (run.StopRequested()) {
                    run.EndStopped();
                    return;
                }
                std::uint32_t pi = scsi::GetBe16(&reply[4]);
                std::uint32_t pif = scsi::GetBe16(&reply[6]);
                if (static_cast<std::uint64_t>(state.m_llStartLba) < kNearStartSectors) {
                    if (pi > kNearStartPiLimit)
                        pi /= 4;
                    pif /= 4;
                }
                figures.AddRead(pi, pif);
                if (position != 0 && previous != 0 && position != previous) {
                    ++counted;
                    groupDistance += static_cast<std::int64_t>(position) - static_cast<std::int64_t>(previous);
                }
                previous = position;
                if (++stalled > kMaxStalledReads) {
                    run.EndStopped("Read Error, scan aborted");
                    return;
                }
            }
            if (groupDistance > 0)
                stalled = 0;
            figures.CloseSample(context);
            if (steps.jitter)
                ApplyJitterLadder(context, static_cast<std::int64_t>(jitter.peak),
                                  static_cast<std::int64_t>(jitter.average) * 3);
            ApplyUpperLadder(context, std::int64_t{2} * figures.piAverage);
            ApplyLowerLadder(context, std::int64_t{2} * figures.pifAverage);

            state.m_llStartLba += groupDistance;
            points.Advance(groupDistance);
            jitter.lba += static_cast<std::uint64_t>(groupDistance);
            jitter.distance += static_cast<std::uint64_t>(groupDistance);
            if (UpperGraphFull(context))
                break;
            if (points.PointDue()) {
                const int speedTenths = points.TakePoint();
                if (context.m_pUpperGraph != nullptr)
                    context.m_pUpperGraph->AddPoint(static_cast<int>(figures.maxPI), speedTenths);
                if (context.m_pLowerGraph != nullptr)
                    context.m_pLowerGraph->AddPoint(static_cast<int>(figures.maxPIF), 0,
                                                    steps.jitter ? jitter.PointValue(context) : 0);
                if (ReachedEnd(context, position))
                    break;
                figures.ClosePoint();
                ShowFigures(context, figures, shownJitter);
                ShowProgress(context);
            }
            if (run.StopRequested()) {
                run.EndStopped();
                return;
            }
        }
    }
    ShowFigures(context, figures, shownJitter);
    ShowProgress(context);
    if (context.m_pUpperGraph != nullptr)
        context.m_pUpperGraph->RefreshPoints();
    if (context.m_pLowerGraph != nullptr)
        context.m_pLowerGraph->Redraw();
    run.Complete();
}
