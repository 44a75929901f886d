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
#include "scsi/DiscStructure.h"
#include "scsi/Opcodes.h"

#include <algorithm>
#include <array>

namespace {

constexpr std::uint32_t kDefaultLayerZeroEnd = 2000158;
constexpr std::uint32_t kRangeSectors = 256;
constexpr std::uint8_t kModeByte = 0x08;

// The older models' layer-break marker lies at the end of layer 0 as the
// disc structure gives it, without the data start taken off.
void PlaceLayerBreak(ScanContext& context, const ScanMedium& medium)
{
    if (medium.factor != 2)
        return;
    const std::uint32_t end = medium.layer0End != 0 ? medium.layer0End + kDvdFirstDataSector : kDefaultLayerZeroEnd;
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
    context.drive.mmc.SetCdSpeedKBps(kMaximumCdSpeed, kMaximumCdSpeed);
    benq.BenqSignature11();
    run.Begin("PIE/PIF/Jitter Test Running");
    PollUntilReady(context);
    context.drive.mmc.Seek(static_cast<std::uint32_t>(context.state.m_llStartLba));
    PollUntilReady(context);
    PointClock clock(context, kSectorsPerPoint * static_cast<std::uint64_t>(medium.factor));
    clock.Start();

    RmsFigures figures;
    bool firstCycle = true;
    int failedReads = 0;
    std::array<std::uint8_t, 8> answer{};
    const auto showFigures = [&] {
        figures.Show(context, context.state.m_nPIPeak.load(), context.state.m_nPIFPeak.load(), figures.jitterPeak);
        context.sink.ShowQualityRating();
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
        bool ended = false;
        if (ReadAgain(run, read, failedReads, ended, "BENQ F0", vendor_opcode::kBenqReadF0))
            continue;
        if (ended)
            return;
        const auto pi = static_cast<std::uint32_t>(static_cast<std::int32_t>(scsi::GetBe32(answer.data())) >> 1);
        const std::uint32_t pif = scsi::GetBe32(&answer[4]);
        if (context.choices.show.showJitter != 0
            && benq.BenqReadJitterDataF0(kModeByte, first, first + kRangeSectors, answer) == 0) {
            figures.jitter = answer[2];
            figures.jitterPeak = std::max(figures.jitterPeak, figures.jitter);
        }
        const auto peak = static_cast<std::uint64_t>(figures.jitterPeak);
        if (firstCycle) {
            figures.piSquares.Start(pi);
            figures.pifSquares.Start(pif);
            figures.jitterSquares.Start(peak);
            figures.piTotal = 0;
            figures.pifTotal = 0;
            firstCycle = false;
        }
        figures.Update();
        RaisePeak(context.state.m_nPIPeak, pi);
        RaisePeak(context.state.m_nPIFPeak, pif);
        ApplyJitterLadder(context, figures.jitterPeak, 2 * static_cast<std::int64_t>(figures.rmsJitter));
        ApplyUpperLadder(context, 2 * static_cast<std::int64_t>(figures.rmsPI));
        ApplyLowerLadder(context, 2 * static_cast<std::int64_t>(figures.rmsPIF));

        context.state.m_llStartLba += kRangeSectors;
        clock.Advance(kRangeSectors);
        if (clock.PointDue()) {
            const int speed = clock.TakePoint();
            if (context.m_pUpperGraph)
                context.m_pUpperGraph->AddPoint(static_cast<int>(pi), speed);
            if (context.m_pLowerGraph)
                context.m_pLowerGraph->AddPoint(static_cast<int>(pif), 0,
                                                context.state.m_nJitterType == 0 ? figures.jitter
                                                                                 : static_cast<int>(figures.rmsJitter));
            if (figures.n > 1)
                showFigures();
        }
        if (figures.n > 1) {
            figures.piSquares.Add(pi);
            figures.pifSquares.Add(pif);
            figures.jitterSquares.Add(peak);
            figures.piTotal += pi;
            figures.pifTotal += pif;
        }
        ++figures.n;
        figures.jitter = 0;
        if (context.g_bErrorTestRunning == 0) {
            run.EndStopped("Ready");
            return;
        }
    }
    if (figures.n > 1)
        showFigures();
    run.Complete();
}
