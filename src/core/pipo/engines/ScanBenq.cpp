#include "core/app/Format.h"
#include "core/app/LogFile.h"
#include "core/drive/CommandBlock.h"
#include "core/drive/CommandFailure.h"
#include "core/drive/DriveContext.h"
#include "core/graphs/PiPoLowerGraph.h"
#include "core/graphs/PiPoUpperGraph.h"
#include "core/pipo/ScanContext.h"
#include "core/pipo/ScanControlIds.h"
#include "core/pipo/ScanDriveSteps.h"
#include "core/pipo/ScanSink.h"
#include "core/pipo/engines/ScanEngine.h"
#include "core/pipo/engines/ScanFigures.h"
#include "core/pipo/engines/ScanLoop.h"
#include "scsi/Bytes.h"
#include "scsi/Opcodes.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::uint32_t kDataStartPsn = 0x30000;
constexpr std::uint32_t kDefaultLayerZeroEnd = 2000158;
constexpr std::uint32_t kRangeSectors = 256;
constexpr std::uint8_t kModeByte = 0x08;

// The older models' layer-break marker lies at the end of layer 0 as the
// disc structure gives it, without the data start taken off.
void PlaceLayerBreak(ScanContext& context, const ScanMedium& medium)
{
    if (medium.factor != 2)
        return;
    const std::uint32_t end = medium.layer0End != 0 ? medium.layer0End + kDataStartPsn : kDefaultLayerZeroEnd;
    const int x = static_cast<int>(static_cast<float>(end / 524288.0) * 50.0F);
    if (context.m_pUpperGraph)
        context.m_pUpperGraph->SetLayerBreakMarker(x, context.choices.markerColour);
    if (context.m_pLowerGraph)
        context.m_pLowerGraph->SetLayerBreakMarker(x, context.choices.markerColour);
}

}  // namespace

void ScanBenq(ScanContext& context)
{
    BenqCommands& benq = context.drive.benq;
    ScanRun run(context, [&] { benq.BenqSignature12(); });
    context.sink.ShowControl(scan_control::kCavSpeed, false);
    context.sink.ShowControl(scan_control::kSpeedLabel, false);
    const auto disc = SetUpScanMedium(run);
    if (!disc)
        return;
    const ScanMedium medium = *disc;
    PlaceLayerBreak(context, medium);
    CScsiCommand& channel = context.drive.m_ScsiCommand;
    CommandBlock(mmc::kSetCdSpeed)
        .SetBe16(2, 0xFFFF)
        .SetBe16(4, 0xFFFF)
        .Execute(channel, DataDirection::None, nullptr, 0);
    benq.BenqSignature11();
    run.Begin("PIE/PIF/Jitter Test Running");
    PollUntilReady(context);
    CommandBlock(mmc::kSeek10)
        .SetBe32(2, static_cast<std::uint32_t>(context.state.m_llStartLba))
        .Execute(channel, DataDirection::None, nullptr, 0);
    PollUntilReady(context);
    PointClock clock(context, kSectorsPerPoint * static_cast<std::uint64_t>(medium.factor));
    clock.Start();

    std::int64_t n = 1;
    bool firstCycle = true;
    std::uint64_t piSquares = 0;
    std::uint64_t pifSquares = 0;
    std::uint64_t jitterSquares = 0;
    std::int64_t piTotal = 0;
    std::int64_t pifTotal = 0;
    int jitter = 0;
    int jitterPeak = 0;
    std::uint32_t rmsPI = 0;
    std::uint32_t rmsPIF = 0;
    std::uint32_t rmsJitter = 0;
    int failedReads = 0;
    std::array<std::uint8_t, 8> answer{};
    const auto showFigures = [&] {
        ScanDisplayTexts& texts = context.displays;
        texts.piTotal = Format("%d", static_cast<int>(piTotal));
        texts.piAvg = Format("%d", static_cast<int>(rmsPI));
        texts.piPeak = Format("%d", context.state.m_nPIPeak.load());
        texts.pifTotal = Format("%d", static_cast<int>(pifTotal));
        texts.pifAvg = Format("%d", static_cast<int>(rmsPIF));
        texts.pifPeak = Format("%d", context.state.m_nPIFPeak.load());
        SetJitterDisplays(context, jitterPeak, rmsJitter, jitter);
        ShowDisplays(context);
        context.sink.ShowQualityRating(false);
        ShowProgress(context);
    };

    while (context.state.m_llStartLba < context.state.m_llEndLba) {
        const auto first = static_cast<std::uint32_t>(context.state.m_llStartLba);
        const int read = benq.BenqReadErrorDataF0(kModeByte, first, first + kRangeSectors, answer);
        if (context.g_bErrorTestRunning == 0) {
            run.EndStopped("Ready");
            return;
        }
        // A range the drive could not measure is read again; its values are
        // none to take.
        if (read != 0) {
            if (++failedReads < kMaxFailedReads)
                continue;
            LogEntry(DescribeLastFailure(channel, "BENQ F0", vendor_opcode::kBenqReadF0));
            run.EndStopped("Error reported reading Error Statistics, routine will now end.");
            return;
        }
        failedReads = 0;
        const auto pi = static_cast<std::uint32_t>(static_cast<std::int32_t>(scsi::GetBe32(answer.data())) >> 1);
        const std::uint32_t pif = scsi::GetBe32(&answer[4]);
        if (context.choices.show.showJitter != 0
            && benq.BenqReadJitterDataF0(kModeByte, first, first + kRangeSectors, answer) == 0) {
            jitter = answer[2];
            jitterPeak = std::max(jitterPeak, jitter);
        }
        if (firstCycle) {
            piSquares = std::uint64_t{pi} * pi;
            pifSquares = std::uint64_t{pif} * pif;
            jitterSquares = static_cast<std::uint64_t>(jitterPeak) * static_cast<std::uint64_t>(jitterPeak);
            piTotal = 0;
            pifTotal = 0;
            firstCycle = false;
        }
        rmsPI = RootMeanSquare(piSquares, n);
        rmsPIF = RootMeanSquare(pifSquares, n);
        rmsJitter = RootMeanSquare(jitterSquares, n);
        if (pi > static_cast<std::uint32_t>(context.state.m_nPIPeak.load()))
            context.state.m_nPIPeak = static_cast<int>(pi);
        if (pif > static_cast<std::uint32_t>(context.state.m_nPIFPeak.load()))
            context.state.m_nPIFPeak = static_cast<int>(pif);
        ApplyJitterLadder(context, jitterPeak, 2 * static_cast<std::int64_t>(rmsJitter));
        ApplyUpperLadder(context, 2 * static_cast<std::int64_t>(rmsPI));
        ApplyLowerLadder(context, 2 * static_cast<std::int64_t>(rmsPIF));

        context.state.m_llStartLba += kRangeSectors;
        clock.Advance(kRangeSectors);
        if (clock.PointDue()) {
            const int speed = clock.TakePoint();
            if (context.m_pUpperGraph)
                context.m_pUpperGraph->AddPoint(static_cast<int>(pi), speed);
            if (context.m_pLowerGraph)
                context.m_pLowerGraph->AddPoint(
                    static_cast<int>(pif), 0, context.state.m_nJitterType == 0 ? jitter : static_cast<int>(rmsJitter));
            if (n > 1)
                showFigures();
        }
        if (n > 1) {
            piSquares += std::uint64_t{pi} * pi;
            pifSquares += std::uint64_t{pif} * pif;
            jitterSquares += static_cast<std::uint64_t>(jitterPeak) * static_cast<std::uint64_t>(jitterPeak);
            piTotal += pi;
            pifTotal += pif;
        }
        ++n;
        jitter = 0;
        if (context.g_bErrorTestRunning == 0) {
            run.EndStopped("Ready");
            return;
        }
    }
    if (n > 1)
        showFigures();
    run.Complete(false);
}
