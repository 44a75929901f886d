#include "core/drive/DriveContext.h"
#include "core/graphs/PiPoLowerGraph.h"
#include "core/graphs/PiPoUpperGraph.h"
#include "core/pipo/ScanContext.h"
#include "core/pipo/ScanDriveSteps.h"
#include "core/pipo/ScanSink.h"
#include "core/pipo/engines/PointMaximaRms.h"
#include "core/pipo/engines/ScanEngine.h"
#include "core/pipo/engines/ScanLoop.h"
#include "scsi/Bytes.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::uint32_t kReplyBytes = 10;
constexpr int kSeekBacks = 10;  // the tenth reading above the limit is kept
constexpr std::uint8_t kPreSpinHigh = 0x15;  // 5540 kB/s
constexpr std::uint8_t kPreSpinLow = 0xA4;

void ShowFigures(ScanContext& context, const PointMaximaRms& figures)
{
    ShowRmsFigures(context, figures);
    ShowProgress(context);
}

}  // namespace

void ScanBtc(ScanContext& context)
{
    ScanRun run(context);
    ScanState& state = context.state;
    PointMaximaRms figures;
    if (OnDvdDrive(context)) {
        const std::optional<ScanMedium> medium = SetUpScanMedium(run);
        if (!medium)
            return;
        ShowSetUpDisplays(context, "---");

        context.drive.mmc.SetCdSpeedKBps(kMaximumCdSpeed, kMaximumCdSpeed);
        context.sink.SetStatus("Preparing for Pre-Spin...");
        PreSpin(context, kPreSpinHigh, kPreSpinLow);
        run.Begin("PIE/PIF/Jitter Test Running");
        PollUntilReady(context);
        context.drive.mmc.Seek(static_cast<std::uint32_t>(state.m_llStartLba));
        PollUntilReady(context);

        const std::uint64_t pointSectors = medium->PointSectors();
        PointClock points(context, pointSectors);
        points.Start();
        std::array<std::uint8_t, kReplyBytes> reply{};
        std::uint64_t previous = 0;
        std::uint64_t lastAccepted = 0;
        int retries = 0;
        int stalled = 0;
        while (static_cast<std::uint64_t>(state.m_llStartLba) < static_cast<std::uint64_t>(state.m_llEndLba)) {
            std::int64_t groupDistance = 0;
            std::uint32_t groupPI = 0;
            std::uint32_t groupPIF = 0;
            for (bool counted = false; !counted;) {
                context.drive.btc.BtcReadErrorData(reply.data(), kReplyBytes);
                const std::uint64_t position = scsi::GetBe24(&reply[1]);
                if (run.StopRequested()) {
                    run.EndStopped();
                    return;
                }
                std::uint32_t pi = scsi::GetBe16(&reply[4]) >> 2;
                std::uint32_t pif = scsi::GetBe16(&reply[6]) >> 2;
                if (pi > kCountLimit || pif > kCountLimit) {
                    // A misreading: back to the last good one and read again.
                    if (++retries < kSeekBacks) {
                        context.drive.mmc.Seek(static_cast<std::uint32_t>(lastAccepted));
                        PollUntilReady(context);
                        continue;
                    }
                    pi = std::min(pi, kCountLimit);
                    pif = std::min(pif, kCountLimit);
                }
                retries = 0;
                figures.Accept(context, pi, pif);
                lastAccepted = position;
                groupPI = pi;
                groupPIF = pif;
                if (position != 0) {
                    counted = true;
                    if (previous != 0)
                        groupDistance = static_cast<std::int64_t>(position) - static_cast<std::int64_t>(previous);
                    previous = position;
                }
                // A drive that only answers position 0, or no longer moves
                // on, ends the scan.
                if (groupDistance > 0)
                    stalled = 0;
                else if (++stalled > kMaxStalledReads) {
                    run.EndStopped("Read Error, scan aborted");
                    return;
                }
            }
            ApplyUpperLadder(context, std::int64_t{2} * figures.piAverage);
            ApplyLowerLadder(context, std::int64_t{2} * figures.pifAverage);
            // A position far past the range's end is a misreading: the step
            // ends at the end, so no points are drawn for sectors not scanned.
            groupDistance = std::min<std::int64_t>(groupDistance, state.m_llEndLba - state.m_llStartLba);
            state.m_llStartLba += groupDistance;
            points.Advance(groupDistance);
            if (points.PointDue()) {
                const int speedTenths = points.TakeSpeed();
                while (points.PointExceeded()) {
                    AddGraphPoint(context, static_cast<int>(figures.maxPI), speedTenths,
                                  static_cast<int>(figures.maxPIF), 0);
                    points.TakeSectors();
                }
                figures.ClosePoint();
                ShowFigures(context, figures);
            }
            if (figures.n > 1) {
                figures.piTotal += groupPI;
                figures.pifTotal += groupPIF;
            }
            if (run.StopRequested()) {
                run.EndStopped();
                return;
            }
        }
    }
    ShowFigures(context, figures);
    RedrawGraphs(context);
    run.Complete();
}
