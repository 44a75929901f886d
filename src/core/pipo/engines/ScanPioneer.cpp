#include "core/base/Format.h"
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
#include "scsi/Opcodes.h"

#include <algorithm>
#include <array>
#include <string>

namespace {

constexpr std::uint32_t kRequestSectors = 256;
constexpr std::uint8_t kRequestUnit = 8;
constexpr std::uint16_t kScanKBps = 5540;
constexpr std::uint16_t kStreamingKBps = 11080;
constexpr std::uint32_t kAopenAnswerBytes = 16;
// A PIF above this near the start of the disc is taken as a misread.
constexpr std::uint32_t kLeadInPifLimit = 320;
constexpr std::uint64_t kLeadInSectors = 1024;

// The running figures: sums of squares for the RMS values, totals, peaks.
struct PioneerFigures {
    std::uint32_t maxPI = 0;  // of the interval
    std::uint32_t maxPIF = 0;
    std::uint32_t piTotal = 0;
    std::uint32_t pifTotal = 0;
    RmsSum piSquares;
    RmsSum pifSquares;
    std::uint32_t rmsPI = 0;
    std::uint32_t rmsPIF = 0;
    std::uint64_t n = 1;
    bool first = true;
};

void ShowCounts(ScanContext& context, const PioneerFigures& figures)
{
    ScanDisplayTexts& texts = context.displays;
    texts.piTotal = Format("%d", static_cast<std::int32_t>(figures.piTotal));
    texts.piAvg = Format("%d", static_cast<std::int32_t>(figures.rmsPI));
    texts.piPeak = Format("%d", context.state.m_nPIPeak.load());
    texts.pifTotal = Format("%d", static_cast<std::int32_t>(figures.pifTotal));
    texts.pifAvg = Format("%d", static_cast<std::int32_t>(figures.rmsPIF));
    texts.pifPeak = Format("%d", context.state.m_nPOPeak.load());
}

// The counts (once past the first request), the position and the end in
// the two jitter displays, which these drives do not measure, the rating
// without jitter and the progress.
void ShowFigures(ScanContext& context, const PioneerFigures& figures)
{
    if (figures.n > 1)
        ShowCounts(context, figures);
    // The last request may reach past the end: the position shown stops there.
    const std::int64_t shown = std::min(context.state.m_llStartLba, context.state.m_llEndLba);
    context.displays.jitterInst = Format("%X", static_cast<unsigned>(shown));
    context.displays.jitterPeak = Format("%X", static_cast<unsigned>(context.state.m_llEndLba));
    ShowDisplays(context);
    context.sink.ShowQualityRating();
    ShowProgress(context);
}

// One request's counts: implausible values damped, the interval maxima, the
// peaks, the RMS values and the ladders.
void TakeCounts(ScanContext& context, PioneerFigures& f, std::uint32_t& pi, std::uint32_t& pif)
{
    if (pi > kCountLimit)
        pi = f.rmsPI;
    f.maxPI = std::max(f.maxPI, pi);
    RaisePeak(context.state.m_nPIPeak, pi);
    if (pif > kCountLimit)
        pif = f.rmsPIF;
    f.maxPIF = std::max(f.maxPIF, pif);
    RaisePeak(context.state.m_nPOPeak, pif);
    RaisePeak(context.state.m_nPIFPeak, pif);  // the window's "Auto Peak" and the ladder read it
    if (f.first) {
        f.piSquares.Add(pi);
        f.pifSquares.Add(pif);
        f.piTotal = f.maxPI;
        f.first = false;
    }
    f.rmsPI = f.piSquares.Root(static_cast<std::int64_t>(f.n));
    f.rmsPIF = f.pifSquares.Root(static_cast<std::int64_t>(f.n));
    if (f.rmsPI > 0) {
        const auto [piScale, pifScale] = context.scales.With([](ScanScales& scales) {
            return std::pair{static_cast<std::uint32_t>(scales.Upper().fullScale),
                             static_cast<std::uint32_t>(scales.Lower().fullScale)};
        });
        if (pi > 2 * piScale)
            pi = f.rmsPI;
        if (pif > 2 * pifScale)
            pif = f.rmsPIF;
    }
    ApplyUpperLadder(context, 2 * std::int64_t{f.rmsPI});
    ApplyLowerLadder(context, 2 * std::int64_t{f.rmsPIF});
}

// The request joins the sums and the totals once the point it may have
// closed was shown: a point's totals are those of the requests before.
void AddCounts(PioneerFigures& f, std::uint32_t pi, std::uint32_t pif, std::uint64_t m)
{
    f.piSquares.Add(pi, m);
    f.piTotal += static_cast<std::uint32_t>(m * pi);
    f.pifSquares.Add(pif, m);
    f.pifTotal += static_cast<std::uint32_t>(m * pif);
}

}  // namespace

void ScanPioneer(ScanContext& context)
{
    PioneerCommands& pioneer = context.drive.pioneer;
    CScsiCommand& channel = context.drive.m_ScsiCommand;
    // The speed/accuracy box is disabled for the whole scan, enabled on every way out.
    ScanRun run(context, [&] { context.sink.EnableControl(scan_control::kAccuracy, true); });

    context.sink.EnableControl(scan_control::kAccuracy, false);
    context.state.m_nPIPeak = 0;
    context.state.m_nPOPeak = 0;
    context.state.m_nPIFPeak = 0;
    const std::optional<ScanMedium> medium = SetUpScanMedium(run);
    if (!medium)
        return;
    // Without a capacity the scan cannot begin: it ends before its first request.
    std::string failure;
    if (!medium->capacityRead)
        failure = DescribeLastFailure(channel, "READ CAPACITY", mmc::kReadCapacity);

    SetReadSpeed(context, kScanKBps);
    PreSpin(context, kScanKBps >> 8, kScanKBps & 0xFF);
    run.Begin("PI/PIF Test Running");
    SetScanStreaming(context, static_cast<std::uint32_t>(context.state.m_llEndLba), kStreamingKBps);
    PointClock clock(context, medium->PointSectors());
    clock.Start();
    const std::uint64_t m = SamplingFactor(context.state.m_nAccuracy);
    const CDevice* device = context.drive.list.m_pCurrentDevice;
    const bool aopen = device != nullptr && device->IdentityBeginsWith("AOPEN");

    PioneerFigures figures;
    std::array<std::uint8_t, PioneerCommands::kBufferBytes> answer{};
    bool endOfData = false;
    while (static_cast<std::uint64_t>(context.state.m_llStartLba)
           < static_cast<std::uint64_t>(context.state.m_llEndLba)) {
        if (run.StopRequested()) {
            run.EndStopped("Ready");
            return;
        }
        // A request the drive could not answer ends the scan with the reason.
        if (!failure.empty()) {
            run.EndStopped(failure);
            return;
        }
        if (endOfData)
            break;
        const auto position = static_cast<std::uint32_t>(context.state.m_llStartLba);
        std::uint32_t pi = 0;
        std::uint32_t pif = 0;
        {
            const auto lock = channel.Lock();
            if (aopen) {
                if (pioneer.PioneerReadErrorData(answer.data(), kAopenAnswerBytes, position,
                                                 static_cast<std::uint16_t>(kRequestSectors))
                    != 0) {
                    failure = DescribeLastFailure(channel, "AOpen error read", vendor_opcode::kAopenErrorRead);
                    continue;
                }
                pi = ReadAopenAnswer(answer.data());
            } else {
                pioneer.PioneerWriteBuffer(answer.data(), answer.size(), position, kRequestSectors, kRequestUnit);
                if (pioneer.PioneerReadBuffer(answer.data(), answer.size()) != 0) {
                    failure = DescribeLastFailure(channel, "READ BUFFER", mmc::kReadBuffer);
                    continue;
                }
                const PioneerErrors errors = ReadPioneerAnswer(answer.data());
                pi = errors.pi;
                pif = errors.pif;
                if (pif > kLeadInPifLimit && position < m * kLeadInSectors)
                    pif = 0;
            }
        }
        endOfData = answer[0] == kPioneerEndOfData;

        TakeCounts(context, figures, pi, pif);
        context.state.m_llStartLba += static_cast<std::int64_t>(m * kRequestSectors);
        clock.Advance(static_cast<std::int64_t>(m * kRequestSectors));
        if (clock.PointDue()) {
            const int speed = clock.TakePoint();
            if (context.m_pUpperGraph != nullptr)
                context.m_pUpperGraph->AddPoint(static_cast<int>(figures.maxPI), speed);
            if (context.m_pLowerGraph != nullptr)
                context.m_pLowerGraph->AddPoint(static_cast<int>(figures.maxPIF), 0, 0);
            figures.maxPI = 0;
            figures.maxPIF = 0;
            ShowFigures(context, figures);
        }
        AddCounts(figures, pi, pif, m);
        figures.n += m;
    }

    if (!failure.empty()) {
        run.EndStopped(failure);
        return;
    }
    // The end of the range, or the drive's end of the data.
    ShowFigures(context, figures);
    run.Complete();
}
