#include "core/base/Format.h"
#include "core/base/UserPrompt.h"
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
#include "scsi/DiscStructure.h"

#include <algorithm>
#include <vector>

namespace {

constexpr int kUnitWaitSeconds = 20;
constexpr int kInvalidPositionWait = 10;
constexpr std::uint32_t kShortBytes = 36;
constexpr std::uint32_t kReplyBytes = 32768;
constexpr int kBlocksPerRead = 16;
constexpr int kCountedReadsPerGroup = 20;
constexpr std::uint32_t kLargestStep = 2048;
constexpr std::uint32_t kLargestGroupDistance = 10240;
constexpr std::uint32_t kLargestJitter = 800;
constexpr std::uint32_t kScaleFactor = 10;
constexpr std::uint16_t kScanSpeed = 0x15A4;  // 5540 kB/s

// The running figures: root-mean-square averages of the interval maxima,
// the jitter among them, and the totals.
struct GenericFigures {
    std::uint32_t maxPI = 0;
    std::uint32_t maxPIF = 0;
    std::uint32_t maxJitter = 0;
    std::uint32_t lastJitter = 0;
    std::uint32_t jitterPeak = 0;
    RmsSum piSquares;
    RmsSum pifSquares;
    RmsSum jitterSquares;
    std::uint32_t jitterSum = 0;
    std::int64_t n = 1;
    bool firstSample = true;
    std::int32_t piRms = 0;
    std::int32_t pifRms = 0;
    std::int32_t jitterRms = 0;
    std::uint32_t jitterAverage = 0;
    std::int32_t piTotal = 0;
    std::int32_t pifTotal = 0;
    std::int64_t pofTotal = 0;
    std::uint32_t groupPI = 0;
    std::uint32_t groupPIF = 0;

    void AddSquaresOfMaxima()
    {
        piSquares.Add(maxPI);
        pifSquares.Add(maxPIF);
        jitterSquares.Add(maxJitter);
    }
};

// Counts the drive cannot have seen stand in for the running averages.
void Clamp(ScanContext& context, const GenericFigures& figures, std::uint32_t& pi, std::uint32_t& pif,
           std::uint32_t& jitter)
{
    pi = std::min(pi, kCountLimit);
    if (pif > kCountLimit)
        pif = static_cast<std::uint32_t>(figures.pifRms);
    if (jitter > kLargestJitter)
        jitter = static_cast<std::uint32_t>(figures.jitterRms);
    const auto [upper, lower] = context.scales.With([](ScanScales& scales) {
        return std::pair{static_cast<std::uint32_t>(scales.Upper().fullScale),
                         static_cast<std::uint32_t>(scales.Lower().fullScale)};
    });
    if (pi > kScaleFactor * upper && figures.piRms != 0)
        pi = static_cast<std::uint32_t>(figures.piRms);
    if (pif > kScaleFactor * lower && figures.pifRms != 0)
        pif = static_cast<std::uint32_t>(figures.pifRms);
}

void ShowFigures(ScanContext& context, const GenericFigures& figures)
{
    SetCountDisplays(context, figures.piTotal, figures.piRms, figures.pifTotal, figures.pifRms);
    context.displays.pofTotal = Format("%d", static_cast<std::int32_t>(figures.pofTotal));
    SetJitterDisplays(context, figures.jitterPeak, figures.jitterRms, figures.lastJitter);
    ShowDisplays(context);
    context.sink.ShowQualityRating();
    ShowProgress(context);
}

}  // namespace

void ScanGeneric(ScanContext& context)
{
    NuQsiCommands& generic = context.drive.nuQsi;
    std::vector<std::uint8_t> reply(kReplyBytes, 0);
    const auto ready = [&] { WaitForUnitReady(context, kUnitWaitSeconds); };
    ScanRun run(context, [&] {
        ready();
        generic.GenericFinish(reply.data(), kShortBytes);
    });
    ScanState& state = context.state;
    GenericFigures figures;
    context.scales.With([&](ScanScales& scales) { scales.SetSpeedAxis(0.0, context.m_pUpperGraph); });
    ready();
    if (OnDvdDrive(context)) {
        const std::optional<ScanMedium> medium = SetUpScanMedium(run);
        if (!medium)
            return;
        ready();
        context.drive.mmc.SetCdSpeedKBps(kScanSpeed, kScanSpeed);
        ready();
        if (generic.GenericEnable(reply.data(), kShortBytes).value != 0) {
            run.EndStopped("No suitable drive found");
            context.sink.Beep(0xFFFFFFFF);
            return;
        }
        ready();
        generic.GenericSetMode(0xFF, 0x01);
        // The drive starts where the scan does (the physical sector of the start).
        const auto start = static_cast<std::uint32_t>(kDvdFirstDataSector
                                                      + static_cast<std::uint64_t>(state.m_llStartLba));
        ready();
        generic.GenericSetStart(reply.data(), kShortBytes, start);
        run.Begin("PIE/PIF/Jitter Test Running");

        PointClock points(context, medium->PointSectors());
        points.Start();
        std::uint32_t previous = start;
        std::uint32_t firstStepOffset = 0;
        std::uint32_t position = 0;
        int stalled = 0;
        bool finished = false;
        while (!finished
               && static_cast<std::uint64_t>(state.m_llStartLba) < static_cast<std::uint64_t>(state.m_llEndLba)) {
            int counted = 0;
            std::uint32_t groupDistance = 0;
            while (counted < kCountedReadsPerGroup) {
                ready();
                if (generic.GenericReadErrorData(reply.data(), kReplyBytes, kBlocksPerRead).value != 0) {
                    context.prompt.MessageBox("Unrecoverable read error, the scan cannot continue", "", MB_OK);
                    run.EndStopped("Read Error, scan aborted");
                    return;
                }
                position = scsi::GetBe32(reply.data());
                if (run.StopRequested()) {
                    finished = true;
                    break;
                }
                if (position < kDvdFirstDataSector || (position & 0x80000000U) != 0) {
                    WaitForUnitReady(context, kInvalidPositionWait);
                    position = previous + firstStepOffset;
                }
                std::uint32_t pi = scsi::GetBe16(&reply[4]);
                std::uint32_t pif = scsi::GetBe16(&reply[6]);
                const std::uint32_t pof = scsi::GetBe16(&reply[10]);
                std::uint32_t jitter = scsi::GetBe16(&reply[16]);
                Clamp(context, figures, pi, pif, jitter);
                figures.maxPI = std::max(figures.maxPI, pi);
                figures.maxPIF = std::max(figures.maxPIF, pif);
                figures.maxJitter = std::max(figures.maxJitter, jitter);
                figures.lastJitter = jitter != 0 ? jitter : figures.maxJitter;
                if (figures.firstSample) {
                    figures.AddSquaresOfMaxima();
                    figures.jitterSum = figures.maxJitter;
                    figures.piTotal = static_cast<std::int32_t>(figures.maxPI);
                    figures.pifTotal = static_cast<std::int32_t>(figures.maxPIF);
                    firstStepOffset += position - previous;
                    figures.firstSample = false;
                }
                figures.jitterAverage = static_cast<std::uint32_t>(figures.jitterSum / figures.n);
                figures.piRms = static_cast<std::int32_t>(figures.piSquares.Root(figures.n));
                figures.pifRms = static_cast<std::int32_t>(figures.pifSquares.Root(figures.n));
                figures.jitterRms = static_cast<std::int32_t>(figures.jitterSquares.Root(figures.n));
                RaisePeak(state.m_nPIPeak, figures.maxPI);
                RaisePeak(state.m_nPIFPeak, figures.maxPIF);
                figures.jitterPeak = std::max(figures.jitterPeak, figures.maxJitter);
                // A step back wraps round and never counts.
                const std::uint32_t step = position - previous;
                if (position > kDvdFirstDataSector && previous > kDvdFirstDataSector && step < kLargestStep) {
                    groupDistance += step;
                    ++counted;
                    if (groupDistance > kLargestGroupDistance)
                        groupDistance = 0;
                }
                // A drive that keeps reporting no place, or the same one,
                // ends the scan.
                if (step != 0 && step < kLargestStep)
                    stalled = 0;
                else if (++stalled > kMaxStalledReads) {
                    run.EndStopped("Read Error, scan aborted");
                    return;
                }
                previous = position;
                figures.pofTotal += pof;
                figures.groupPI += pi;
                figures.groupPIF += pif;
            }
            if (finished)
                break;
            ApplyJitterLadder(context, figures.jitterPeak, std::int64_t{2} * figures.jitterAverage);
            ApplyUpperLadder(context, std::int64_t{2} * figures.piRms);
            ApplyLowerLadder(context, std::int64_t{2} * figures.pifRms);
            state.m_llStartLba += groupDistance;
            points.Advance(groupDistance);
            if (points.PointDue()) {
                const int speedTenths = points.TakePoint();
                const int jitterPoint = state.m_nJitterType == 0 ? static_cast<int>(figures.maxJitter)
                                                                 : figures.jitterRms;
                AddGraphPoint(context, static_cast<int>(figures.maxPI), speedTenths, static_cast<int>(figures.maxPIF),
                              jitterPoint);
                if (ReachedEnd(context, position - kDvdFirstDataSector))
                    break;
                ++figures.n;
                figures.AddSquaresOfMaxima();
                figures.maxPI = figures.maxPIF = figures.maxJitter = 0;
                ShowFigures(context, figures);
            }
            if (figures.n > 1) {
                figures.piTotal += static_cast<std::int32_t>(figures.groupPI);
                figures.pifTotal += static_cast<std::int32_t>(figures.groupPIF);
                figures.jitterSum += figures.maxJitter;
                figures.groupPI = figures.groupPIF = 0;
                context.displays.piTotal = Format("%d", figures.piTotal);
                ShowDisplays(context);
            }
            if (run.StopRequested()) {
                run.EndStopped();
                return;
            }
        }
    }
    ShowFigures(context, figures);
    run.Complete();
}
