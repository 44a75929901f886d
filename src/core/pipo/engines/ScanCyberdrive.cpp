#include "core/drive/DriveContext.h"
#include "core/graphs/PiPoLowerGraph.h"
#include "core/graphs/PiPoUpperGraph.h"
#include "core/pipo/ScanContext.h"
#include "core/pipo/ScanControlIds.h"
#include "core/pipo/ScanScales.h"
#include "core/pipo/ScanSink.h"
#include "core/pipo/engines/ScanEngine.h"
#include "core/pipo/engines/ScanFigures.h"
#include "core/pipo/engines/ScanLoop.h"
#include "scsi/Bytes.h"
#include "scsi/Opcodes.h"

#include <algorithm>
#include <array>
#include <vector>

namespace {

constexpr std::uint32_t kAnswerLength = 32768;
constexpr std::uint32_t kSignatureLength = 8;
constexpr std::uint32_t kStreamingKBps = 11080;
constexpr std::uint32_t kStreamingMs = 1000;
constexpr std::int64_t kLargestJitter = 800;

// The drive reads at its fastest: SET STREAMING to the end of the disc, then
// SET CD SPEED to the maximum.
void AskFastestSpeed(ScanContext& context)
{
    MmcCommands& mmc = context.drive.mmc;
    mmc.SetStreaming({.endLba = static_cast<std::uint32_t>(context.state.m_llEndLba),
                      .readSize = kStreamingKBps,
                      .readTimeMs = kStreamingMs,
                      .writeSize = kStreamingKBps,
                      .writeTimeMs = kStreamingMs});
    mmc.SetCdSpeedKBps(kMaximumCdSpeed, kMaximumCdSpeed);
}

// The lower graph's ladder on the PO peak, which this family plots in place
// of the PIF.
void ApplyPoLadder(ScanContext& context, std::int64_t averageValue)
{
    const int peak = context.state.m_nPOPeak.load();
    context.scales.With([&](ScanScales& scales) {
        const ScanScales::Axis& lower = scales.Lower();
        if (!lower.automatic || peak <= lower.fullScale)
            return;
        const std::int64_t value = lower.automaticByPeak ? peak : averageValue;
        scales.SetLowerScale(ScaleCodeForPeak(static_cast<int>(std::clamp<std::int64_t>(value, 0, kCountLimit))),
                             context.m_pLowerGraph);
    });
}

}  // namespace

void ScanCyberdrive(ScanContext& context)
{
    CyberdriveCommands& cyber = context.drive.cyberdrive;
    std::array<std::uint8_t, kSignatureLength> signature{};
    ScanRun run(context, [&] { cyber.CyberSignatureCommand(signature.data(), kSignatureLength, 0); });
    context.sink.ShowControl(scan_control::kCavSpeed, false);
    context.sink.ShowControl(scan_control::kSpeedLabel, false);
    const auto disc = SetUpScanMedium(run);
    if (!disc)
        return;
    AskFastestSpeed(context);
    cyber.CyberSignatureCommand(signature.data(), kSignatureLength, 1);
    run.Begin("PIE/PIF/Jitter Test Running");
    PointClock clock(context, kSectorsPerPoint * static_cast<std::uint64_t>(disc->factor));
    clock.Start();
    std::vector<std::uint8_t> answer(kAnswerLength, 0);
    cyber.CyberReadA9(answer.data(), static_cast<std::uint32_t>(context.state.m_llStartLba), 0xFF, 0x00);

    RmsFigures figures;  // PIF: the PO counts
    bool firstAnswer = true;
    std::uint32_t maxPI = 0;
    std::uint32_t maxPO = 0;
    int maxJitter = 0;
    int shownJitterPeak = 0;
    int failedReads = 0;
    const auto showFigures = [&] {
        figures.Show(context, context.state.m_nPIPeak.load(), context.state.m_nPOPeak.load(), shownJitterPeak);
        context.sink.ShowQualityRating();
    };

    while (context.state.m_llStartLba < context.state.m_llEndLba) {
        const int read = cyber.CyberReadB1(answer.data(), kAnswerLength, 0);
        if (context.g_bErrorTestRunning == 0) {
            run.EndStopped("Ready");
            return;
        }
        // A failed read's cleared answer is no measurement: it is read
        // again, and a drive that keeps failing ends the scan.
        bool ended = false;
        if (ReadAgain(run, read, failedReads, ended, "CYBERDRIVE B1", vendor_opcode::kCyberdrive))
            continue;
        if (ended)
            return;
        std::uint32_t pi = scsi::GetBe16(&answer[3]);
        std::uint32_t po = scsi::GetBe16(&answer[5]);
        int& jitter = figures.jitter;
        jitter = CyberdriveJitterTenths(scsi::GetBe16(&answer[10]));
        const std::int64_t position = scsi::GetBe24(answer.data()) & 0x7FFFFF;
        const std::int64_t delta = position - context.state.m_llStartLba;
        context.state.m_llStartLba = position;

        maxJitter = std::max(maxJitter, jitter);
        maxPI = std::max(maxPI, pi);
        if (pi > kCountLimit)
            pi = figures.rmsPI;
        maxPO = std::max(maxPO, po);
        if (po > kCountLimit)
            po = figures.rmsPIF;
        if (jitter > kLargestJitter)
            jitter = static_cast<int>(figures.rmsJitter);
        figures.jitterPeak = std::max(figures.jitterPeak, jitter);
        const auto peak = static_cast<std::uint64_t>(figures.jitterPeak);
        if (firstAnswer) {
            figures.jitterSquares.Start(peak);
            figures.piTotal = maxPI;
            figures.piSquares.Start(pi);
            figures.pifTotal = maxPO;
            figures.pifSquares.Start(po);
            firstAnswer = false;
        }
        figures.Update();
        RaisePeak(context.state.m_nPIPeak, pi);
        RaisePeak(context.state.m_nPOPeak, po);
        shownJitterPeak = std::max(shownJitterPeak, figures.jitterPeak);
        ApplyJitterLadder(context, shownJitterPeak, 2 * static_cast<std::int64_t>(figures.rmsJitter));
        ApplyUpperLadder(context, 2 * static_cast<std::int64_t>(figures.rmsPI));
        ApplyPoLadder(context, 2 * static_cast<std::int64_t>(figures.rmsPIF));

        clock.Advance(delta);
        if (clock.PointDue()) {
            const int speed = clock.TakePoint();
            if (context.m_pUpperGraph)
                context.m_pUpperGraph->AddPoint(static_cast<int>(maxPI), speed);
            if (context.m_pLowerGraph)
                context.m_pLowerGraph->AddPoint(0, static_cast<int>(maxPO),
                                                context.state.m_nJitterType == 0 ? maxJitter
                                                                                 : static_cast<int>(figures.rmsJitter));
            maxPI = 0;
            maxPO = 0;
            maxJitter = 0;
            ShowProgress(context);
            if (figures.n > 1)
                showFigures();
        }
        if (figures.n > 1) {
            figures.jitterSquares.Add(peak);
            figures.piSquares.Add(pi);
            figures.piTotal += pi;
            figures.pifSquares.Add(po);
            figures.pifTotal += po;
        }
        ++figures.n;
    }
    if (figures.n > 1)
        showFigures();
    run.Complete();
}
