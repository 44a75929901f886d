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
#include <cmath>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr std::uint64_t kScanStepSectors = 128;  // the 8 ECC blocks of a PIE or PIF group
constexpr std::uint64_t kPifStepSectors = 16;  // the PIF pass moves on by one ECC block per group
constexpr std::uint64_t kJitterStepSectors = 256;
constexpr std::uint16_t kScanKBps = 2770;
// The drive's jitter unit: 11474 to the hundred percent.
constexpr double kJitterUnitsPerPercent = 11474.0;
constexpr double kThirdOfProgress = 33.3333;

enum class Pass { Pie, Pif, Jitter };

// The progress of a pass that fills one third of the bar: `third` 0, 1 or 2.
int PassProgress(const ScanContext& context, int third)
{
    const double divisor = std::trunc(static_cast<double>(context.state.m_llEndLba) / kThirdOfProgress);
    if (divisor < 1.0)
        return third * 33;
    const auto share = static_cast<std::uint64_t>(context.state.m_llStartLba) / static_cast<std::uint64_t>(divisor);
    return std::min(100, static_cast<int>(third * kThirdOfProgress + static_cast<double>(share)));
}

double JitterTenths(double units)
{
    return units * 1000.0 / kJitterUnitsPerPercent;
}

// One scan of the three passes, each over the whole range from the start.
class PlextorScan {
public:
    PlextorScan(ScanContext& scanContext, ScanRun& scanRun) :
        context(scanContext), run(scanRun), plextor(scanContext.drive.plextor), buffer(PlextorCommands::kEccBlockBytes)
    {
    }

    // The stop command of an open pass; every way out sends it.
    void LeavePass()
    {
        if (!passOpen)
            return;
        passOpen = false;
        plextor.PlextorStopScan();
    }

    // False when the scan ended during the pass (Stop, or a group whose
    // count the drive did not give).
    bool RunPass(Pass pass);

    // Stop or failure: the drive and the window given back.
    void Leave(const std::string& status) { run.EndStopped(status); }

    ScanContext& context;
    ScanRun& run;
    PlextorCommands& plextor;
    std::vector<std::uint8_t> buffer;
    std::int64_t start = 0;
    std::uint64_t m = 1;
    std::uint64_t pointSectors = 0;
    bool passOpen = false;

private:
    bool PiePass();
    bool PifPass();
    bool JitterPass();
    // After a group: false (the scan ended) on a failed result or Stop.
    bool GroupTaken(int status);
    // The count of the PIE or PIF group at the running position; none when
    // the scan ended.
    std::optional<std::uint32_t> CountGroup();
    bool Running() const
    {
        return static_cast<std::uint64_t>(context.state.m_llStartLba)
            < static_cast<std::uint64_t>(context.state.m_llEndLba);
    }
};

bool PlextorScan::GroupTaken(int status)
{
    if (status != 0) {
        Leave(DescribeLastFailure(context.drive.m_ScsiCommand, "Plextor result", vendor_opcode::kPlextor));
        return false;
    }
    if (run.StopRequested()) {
        Leave("Ready");
        return false;
    }
    return true;
}

std::optional<std::uint32_t> PlextorScan::CountGroup()
{
    std::uint32_t count = 0;
    const int status = plextor.PlextorScanStep(buffer.data(), static_cast<std::uint32_t>(context.state.m_llStartLba),
                                               count);
    if (!GroupTaken(status))
        return std::nullopt;
    return count;
}

bool PlextorScan::RunPass(Pass pass)
{
    context.state.m_llStartLba = start;
    switch (pass) {
    case Pass::Pie: return PiePass();
    case Pass::Pif: return PifPass();
    case Pass::Jitter: return JitterPass();
    }
    return true;
}

bool PlextorScan::PiePass()
{
    plextor.PlextorStartPIEScan();
    passOpen = true;
    PointClock clock(context, pointSectors);
    clock.Start();
    std::uint64_t n = 1;
    bool first = true;
    std::uint32_t intervalMax = 0;
    std::uint32_t total = 0;
    std::uint32_t average = 0;
    while (Running()) {
        const std::optional<std::uint32_t> counted = CountGroup();
        if (!counted)
            return false;
        std::uint32_t count = *counted;
        clock.Advance(static_cast<std::int64_t>(m * kScanStepSectors));
        intervalMax = std::max(intervalMax, count);
        if (count > kCountLimit)
            count = average;
        if (first) {
            total = intervalMax;
            first = false;
        }
        average = static_cast<std::uint32_t>(total / n);
        if (count > static_cast<std::uint32_t>(context.state.m_nPIPeak.load()))
            context.state.m_nPIPeak = static_cast<int>(count);
        ApplyUpperLadder(context, 2 * std::int64_t{average});
        if (n > 1)
            total += static_cast<std::uint32_t>(m * count);
        if (clock.PointDue()) {
            const int speed = clock.TakePoint();
            if (context.m_pUpperGraph != nullptr)
                context.m_pUpperGraph->AddPoint(static_cast<int>(intervalMax), speed);
            intervalMax = 0;
            context.sink.SetProgress(PassProgress(context, 0));
            context.displays.piTotal = Format("%d", static_cast<std::int32_t>(total));
            context.displays.piAvg = Format("%d", static_cast<std::int32_t>(average));
            context.displays.piPeak = Format("%d", context.state.m_nPIPeak.load());
            ShowDisplays(context);
            context.sink.ShowQualityRating();
        }
        n += m;
        context.state.m_llStartLba += static_cast<std::int64_t>(m * kScanStepSectors);
    }
    LeavePass();
    return true;
}

bool PlextorScan::PifPass()
{
    plextor.PlextorStartPIFScan();
    passOpen = true;
    if (context.m_pLowerGraph != nullptr)
        context.m_pLowerGraph->SetShowSeries(1, 0, 1);
    context.sink.SetStatus("PIF Test Running");
    std::uint64_t interval = 0;
    std::uint64_t n = 1;
    bool first = true;
    std::uint32_t intervalMax = 0;
    std::uint32_t total = 0;
    RmsSum squares;
    std::uint32_t rms = 0;
    std::uint32_t peak = 0;
    while (Running()) {
        const std::optional<std::uint32_t> counted = CountGroup();
        if (!counted)
            return false;
        std::uint32_t count = *counted;
        interval += m * kPifStepSectors;
        intervalMax = std::max(intervalMax, count);
        if (count > kCountLimit)
            count = rms;
        if (first) {
            total = intervalMax;
            squares.Start(count);
            first = false;
        }
        rms = squares.Root(static_cast<std::int64_t>(n));
        peak = std::max(peak, count);
        context.state.m_nPIFPeak = static_cast<int>(peak);  // the ladder and the window's "Auto Peak" read it
        ApplyLowerLadder(context, 2 * std::int64_t{rms});
        if (n > 1) {
            squares.Add(count, m);
            total += static_cast<std::uint32_t>(m * count);
        }
        if (interval >= pointSectors) {
            if (context.m_pLowerGraph != nullptr)
                context.m_pLowerGraph->AddPIFPoint(static_cast<int>(intervalMax));
            interval -= pointSectors;
            intervalMax = 0;
            context.sink.SetProgress(PassProgress(context, 1));
            context.displays.pifTotal = Format("%d", static_cast<std::int32_t>(total));
            context.displays.pifAvg = Format("%d", static_cast<std::int32_t>(rms));
            context.displays.pifPeak = Format("%d", static_cast<std::int32_t>(peak));
            ShowDisplays(context);
            context.sink.ShowQualityRating();
        }
        n += m;
        context.state.m_llStartLba += static_cast<std::int64_t>(m * kPifStepSectors);
    }
    return true;
}

bool PlextorScan::JitterPass()
{
    plextor.PlextorStartJitterScan();
    passOpen = true;
    context.sink.SetStatus("Jitter Test Running");
    std::uint64_t interval = 0;
    std::uint64_t n = 1;
    bool first = true;
    int previous = 0;  // the previous reading, 0 for none
    int offset = 0;
    int derived = 0;  // the last derived jitter, 0 for none
    int passMax = 0;
    std::uint32_t total = 0;
    std::uint32_t average = 0;
    int peak = 0;
    while (Running()) {
        int reading = 0;
        int second = 0;
        const int status = plextor.PlextorJitterStep(
            buffer.data(), static_cast<std::uint32_t>(context.state.m_llStartLba), reading, second);
        if (!GroupTaken(status))
            return false;
        interval += m * kJitterStepSectors;
        // A group without a reading gives no jitter value.
        if (reading != 0) {
            const int before = previous != 0 ? previous : reading;
            if (derived != 0) {
                offset = before - reading;
                derived += offset;
            } else {
                derived = reading + offset;
            }
            previous = reading;
            passMax = std::max(passMax, derived);
            if (first) {
                total = static_cast<std::uint32_t>(passMax);
                first = false;
            }
            average = static_cast<std::uint32_t>(total / n);
            peak = std::max(peak, passMax);
            ApplyJitterLadder(context, static_cast<std::int64_t>(JitterTenths(peak)),
                              static_cast<std::int64_t>(JitterTenths(2.0 * average)));
            if (interval >= pointSectors) {
                const int point = context.state.m_nJitterType.load() == 0 ? derived * 1000 / 11474
                                                                          : static_cast<int>(average * 1000U / 11474U);
                if (context.m_pLowerGraph != nullptr)
                    context.m_pLowerGraph->AddJitterPoint(point);
                interval -= pointSectors;
                context.sink.SetProgress(PassProgress(context, 2));
                SetJitterDisplays(context, JitterTenths(peak), JitterTenths(average), JitterTenths(derived));
                ShowDisplays(context);
                context.sink.ShowQualityRating();
            }
            if (n == 1 && context.m_pLowerGraph != nullptr)
                context.m_pLowerGraph->SetShowSeries(1, 0, 1);
            if (n > 1)
                total += static_cast<std::uint32_t>(m * static_cast<std::uint32_t>(std::max(passMax, 0)));
            n += m;
        }
        context.state.m_llStartLba += static_cast<std::int64_t>(m * kJitterStepSectors);
    }
    LeavePass();
    return true;
}

}  // namespace

void ScanPlextor(ScanContext& context)
{
    std::optional<PlextorScan> scan;
    // The speed/accuracy box is disabled for the whole scan, enabled on every way out.
    ScanRun run(context, [&] {
        if (scan)
            scan->LeavePass();
        context.sink.EnableControl(scan_control::kAccuracy, true);
    });
    scan.emplace(context, run);

    ScanDisplayTexts& texts = context.displays;
    for (std::string* display : {&texts.piTotal, &texts.piAvg, &texts.piPeak, &texts.pifTotal, &texts.pifAvg,
                                 &texts.pifPeak, &texts.jitterPeak, &texts.jitterAvg, &texts.jitterInst})
        *display = "0";
    ShowDisplays(context);
    context.sink.EnableControl(scan_control::kAccuracy, false);
    context.sink.ShowControl(scan_control::kCavSpeed, false);
    context.sink.ShowControl(scan_control::kSpeedLabel, false);

    const CDevice* device = context.drive.list.m_pCurrentDevice;
    if (device == nullptr || device->m_bDvdDrive != 1) {
        scan->Leave("Ready");
        return;
    }
    const std::optional<ScanMedium> medium = SetUpScanMedium(run);
    if (!medium)
        return;
    texts.jitterAvg = texts.jitterPeak = texts.jitterInst = "---";
    ShowDisplays(context);
    RedrawGraphs(context);

    SetScanStreaming(context, static_cast<std::uint32_t>(context.state.m_llEndLba), kScanKBps);
    SetReadSpeed(context, kScanKBps);
    WaitForUnitReady(context, 20);
    run.Begin("PIE Test Running");
    scan->m = SamplingFactor(context.state.m_nAccuracy);
    scan->pointSectors = medium->PointSectors();
    scan->start = context.state.m_llStartLba;
    if (context.m_pLowerGraph != nullptr)
        context.m_pLowerGraph->AddPIFPoint(0);
    if (context.m_pUpperGraph != nullptr)
        context.m_pUpperGraph->AddPoint(0, 0);

    const ScanShowFlags& show = context.choices.show;
    if (show.showPI && !scan->RunPass(Pass::Pie))
        return;
    if (show.showPIF && !scan->RunPass(Pass::Pif))
        return;
    context.drive.plextor.PlextorStopScan();  // after the PIF pass, run or skipped
    scan->passOpen = false;
    if (show.showJitter && !scan->RunPass(Pass::Jitter))
        return;

    run.Complete();
}
