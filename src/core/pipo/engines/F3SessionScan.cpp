#include "core/pipo/engines/F3SessionScan.h"

#include "core/base/UserPrompt.h"
#include "core/drive/DriveContext.h"
#include "core/graphs/PiPoLowerGraph.h"
#include "core/graphs/PiPoUpperGraph.h"
#include "core/pipo/ScanContext.h"
#include "core/pipo/ScanControlIds.h"
#include "core/pipo/ScanDriveSteps.h"
#include "core/pipo/ScanSink.h"
#include "core/pipo/engines/PointMaximaRms.h"
#include "core/pipo/engines/ScanLoop.h"
#include "scsi/Bytes.h"

#include <array>

namespace {

constexpr int kCountedReadsPerGroup = 10;
constexpr std::int64_t kSectorsPerCountedRead = 128;
constexpr std::uint64_t kLargestStep = 2048;
constexpr int kRetries = 3;
constexpr std::uint32_t kSpikeFactor = 3;
constexpr std::size_t kReplyBytes = 2048;
constexpr std::uint16_t kDriveSpeed = 0xFFFF;
constexpr std::uint32_t kStreamingReadSize = 0x1E26;
constexpr std::uint32_t kStreamingWriteSize = 0x6F6F;

// SET STREAMING with the speed box's read and write time over the disc.
void SetStreaming(ScanContext& context, int selection)
{
    const std::uint16_t time = NecStreamingTime(selection);
    context.drive.mmc.SetStreaming({.restoreDefaults = time == kDriveSpeed,
                                    .endLba = static_cast<std::uint32_t>(context.state.m_llEndLba),
                                    .readSize = kStreamingReadSize,
                                    .readTimeMs = time,
                                    .writeSize = kStreamingWriteSize,
                                    .writeTimeMs = time});
}

std::uint32_t FullScaleOf(ScanContext& context, bool upper)
{
    return static_cast<std::uint32_t>(
        context.scales.With([&](ScanScales& scales) { return (upper ? scales.Upper() : scales.Lower()).fullScale; }));
}

// A count far above the scale is a spike: the running average stands in,
// once there is one.
std::uint32_t FilterSpike(std::uint32_t count, std::uint32_t fullScale, std::int32_t average)
{
    return count > kSpikeFactor * fullScale && average != 0 ? static_cast<std::uint32_t>(average) : count;
}

void ShowFigures(ScanContext& context, const PointMaximaRms& figures)
{
    ShowRmsFigures(context, figures);
    ShowProgress(context);
}

}  // namespace

std::uint16_t NecStreamingTime(int selection)
{
    static constexpr std::array<std::uint16_t, 8> kTimes = {kDriveSpeed, 1712, 856, 528, 432, 285, 214, 108};
    if (selection < 0 || static_cast<std::size_t>(selection) >= kTimes.size())
        return kDriveSpeed;
    return kTimes[static_cast<std::size_t>(selection)];
}

void RunF3SessionScan(ScanContext& context, const F3SessionCommands& commands)
{
    ScanRun run(context, commands.end);
    ScanState& state = context.state;
    PointMaximaRms figures;
    if (OnDvdDrive(context)) {
        const std::optional<ScanMedium> medium = SetUpScanMedium(run);
        if (!medium)
            return;
        ShowSetUpDisplays(context, "0");

        SetStreaming(context, context.choices.necSpeedIndex);
        commands.start();
        context.sink.EnableControl(scan_control::kReadSpeed, false);
        run.Begin("PIE/PIF/Jitter Test Running");
        context.scales.With([](ScanScales& scales) { scales.SetUpperFullScale(10); });
        PollUntilReady(context);
        context.drive.mmc.Seek(static_cast<std::uint32_t>(state.m_llStartLba));
        context.scales.With([&](ScanScales& scales) { scales.SetSpeedAxis(0.0, context.m_pUpperGraph); });

        PointClock points(context, medium->PointSectors());
        points.Start();
        std::array<std::uint8_t, kReplyBytes> reply{};
        std::uint64_t previous = 0;
        std::uint64_t lastAccepted = 0;
        std::uint64_t position = 0;
        int stalled = 0;
        bool finished = false;
        while (!finished
               && static_cast<std::uint64_t>(state.m_llStartLba) < static_cast<std::uint64_t>(state.m_llEndLba)) {
            int counted = 0;
            int retries = 0;
            std::int64_t groupDistance = 0;
            while (counted < kCountedReadsPerGroup) {
                // A refused read is no measurement: the scan ends without
                // claiming to be complete.
                if (commands.read(reply.data(), static_cast<std::uint64_t>(state.m_llStartLba)) != 0) {
                    if (static_cast<std::uint64_t>(state.m_llStartLba) <= 1) {
                        context.prompt.MessageBox(commands.firmwareMessage, "", MB_OK);
                        run.EndStopped();
                        return;
                    }
                    if (commands.read(reply.data(), static_cast<std::uint64_t>(state.m_llStartLba)) != 0) {
                        run.EndStopped("Read Error, scan aborted");
                        return;
                    }
                }
                position = scsi::GetBe32(reply.data());
                if (run.StopRequested()) {
                    finished = true;
                    break;
                }
                std::uint32_t pi = FilterSpike(scsi::GetBe16(&reply[4]), FullScaleOf(context, true), figures.piAverage);
                std::uint32_t pif = FilterSpike(scsi::GetBe16(&reply[6]), FullScaleOf(context, false),
                                                figures.pifAverage);
                if (pi > kCountLimit || pif > kCountLimit) {
                    if (++retries < kRetries) {
                        commands.retry(lastAccepted);
                        PollUntilReady(context);
                        continue;
                    }
                    if (pi > kCountLimit)
                        pi = static_cast<std::uint32_t>(figures.piAverage);
                    if (pif > kCountLimit)
                        pif = static_cast<std::uint32_t>(figures.pifAverage);
                }
                retries = 0;
                figures.Accept(context, pi, pif);
                lastAccepted = position;
                // Every counted read moves on 128 sectors, a repeated position too.
                if (position != 0 && previous != 0 && position >= previous && position - previous < kLargestStep) {
                    ++counted;
                    groupDistance += kSectorsPerCountedRead;
                    stalled = 0;
                } else if (++stalled > kMaxStalledReads) {
                    // A drive that has lost its place for good ends the scan.
                    run.EndStopped("Read Error, scan aborted");
                    return;
                }
                previous = position;
            }
            if (finished)
                break;
            const std::uint32_t groupMaxPI = figures.maxPI;
            const std::uint32_t groupMaxPIF = figures.maxPIF;
            ApplyUpperLadder(context, std::int64_t{2} * figures.piAverage);
            ApplyLowerLadder(context, std::int64_t{2} * figures.pifAverage);
            state.m_llStartLba += groupDistance;
            points.Advance(groupDistance);
            if (points.PointDue()) {
                const int speedTenths = points.TakePoint();
                AddGraphPoint(context, static_cast<int>(figures.maxPI), speedTenths, static_cast<int>(figures.maxPIF),
                              0);
                if (ReachedEnd(context, position))
                    break;
                figures.ClosePoint();
                if (figures.n > 1) {
                    figures.piTotal += groupMaxPI;
                    figures.pifTotal += groupMaxPIF;
                }
                ShowFigures(context, figures);
            }
            if (run.StopRequested())
                break;
        }
    }
    ShowFigures(context, figures);
    RedrawGraphs(context);
    run.Complete();  // the end sub-command first
}
