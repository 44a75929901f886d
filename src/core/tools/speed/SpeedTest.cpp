#include "core/tools/speed/SpeedTest.h"

#include "core/base/Format.h"
#include "core/base/LogFile.h"
#include "core/base/MessageIds.h"
#include "core/base/Percent.h"
#include "core/app/TestPageControls.h"
#include "core/base/UserPrompt.h"
#include "core/drive/ChannelCoordinator.h"
#include "core/drive/DriveContext.h"
#include "core/drive/DriveLoss.h"
#include "core/drive/SenseReport.h"
#include "core/graphs/RateGraph.h"
#include "core/tools/speed/RotationModel.h"
#include "core/tools/speed/SpeedTestValues.h"
#include "core/tools/testpage/DiscFacts.h"
#include "core/tools/testpage/TestPageEvents.h"
#include "core/tools/testpage/TestReads.h"
#include "core/tools/testpage/TestResults.h"
#include "scsi/DiscStructure.h"
#include "scsi/Opcodes.h"

#include <algorithm>
#include <array>
#include <new>

using namespace testpage;

namespace {

constexpr std::size_t kBufferBytes = 65536;
constexpr std::size_t kReadCdBufferBytes = 32 * 2352;
constexpr int kBlocksPerRead = 32;
constexpr int kBdReadsPerPass = 16;
constexpr std::uint32_t kStructureLength = disc_structure::kPhysicalFormatLength;
constexpr std::uint32_t kPitchStructureLength = disc_structure::kAdipLength;
constexpr std::uint32_t kDefaultLayerBreak = 2000158;
constexpr int kMostReadErrors = 3000;
constexpr std::uint64_t kBytesPerPoint = 13107200;  // 12.5 MB a graph point and layer
constexpr std::uint64_t kBdBytesPerPoint = 6417310;
constexpr int kGraphBottom = 399;
constexpr int kUnstartedRpmY = 280;
constexpr int kPointsPerProgress = 20;
constexpr int kBdUnitReadySeconds = 5;
constexpr int kPreSpinUnitReadySeconds = 10;

std::string SpeedText(double x)
{
    return Format("%4.2f x", x);
}

std::string ElapsedText(std::uint64_t milliseconds)
{
    const std::uint64_t seconds = milliseconds / 1000;
    return Format("%02d:%02d:%02d", static_cast<int>(seconds / 3600), static_cast<int>(seconds / 60 % 60),
                  static_cast<int>(seconds % 60));
}

}  // namespace

// One run's state: the disc, the reads, the sums of the current sample and
// graph point.
struct SpeedTest::Run {
    SpeedFamily family = SpeedFamily::Dvd;
    int profile = 0;
    std::uint32_t position = 0;
    std::uint32_t last = 0;
    int blocksPerRead = kBlocksPerRead;
    double layerFactor = 1;
    bool twoLayers = false;
    std::uint32_t layerBreak = 0;
    int pathFlag = 1;  // 1 parallel, 0 opposite track path
    double velocity = 0;
    double trackPitch = 0;
    std::int64_t capacity = 0;  // BD: where the first layer ends (GET PERFORMANCE)
    std::uint8_t opcode = mmc::kRead10;
    std::vector<std::uint8_t> buffer;
    std::optional<TrayLock> tray;

    int readErrors = 0;
    DriveLoss loss = DriveLoss::None;  // a read said the disc or the drive went
    std::uint32_t lossBlock = 0;
    std::uint64_t totalBytes = 0;  // read without error
    double bytesSinceSample = 0;
    std::uint64_t sampleTick = 0;
    std::uint64_t startTick = 0;
    double shownSum = 0;
    int shownCount = 0;
    int speedYPerX = 0;
    bool fastScale = false;  // HD DVD and BD: switched to 20 pixels an x
    // The graph point's sums.
    int speedYSum = 0;
    int samplesSincePoint = 0;
    int speedY = kGraphBottom;
    int rpmYSum = 0;
    int xSum = 0;
    int iterations = 0;
    int rpmY = 0;
    int xOrigin = 0;
    double rpm = 0;
    bool started = false;
    int pointCounter = 0;
};

SpeedTest::SpeedTest(DriveContext& drives, ReportText& report, TestPageEvents& events, RateGraph& graph,
                     ChannelClaim& claim, SpeedTestSettings settings) :
    m_drives(drives),
    m_report(report),
    m_events(events),
    m_graph(graph),
    m_claim(claim),
    m_settings(settings),
    m_clock(drives.mmc.GetWaitClock())
{
}

std::uint64_t SpeedTest::Now() const
{
    return m_clock.NowMs();
}

SpeedTestEnd SpeedTest::DoSpeedTest()
{
    return RunBody(Body::CdDvd);
}

SpeedTestEnd SpeedTest::DoHDDVDSpeedTest()
{
    return RunBody(Body::HdDvd);
}

SpeedTestEnd SpeedTest::DoBDSpeedTest()
{
    return RunBody(Body::Bd);
}

SpeedTestEnd SpeedTest::RunBody(Body body)
{
    CScsiCommand& channel = m_drives.m_ScsiCommand;
    const VolumeLock volume(channel);
    Run run;
    try {
        run.buffer.resize(kBufferBytes);
    } catch (const std::bad_alloc&) {
        m_events.ShowStatus("Could not allocate memory");
        m_events.Beep(MB_OK);
        RestorePage();
        StopRunning();
        return SpeedTestEnd::Failed;
    }
    // Only the CD/DVD body keeps the system's media-change notification off.
    std::optional<MediaChangeNotificationOff> quiet;
    if (body == Body::CdDvd)
        quiet.emplace(channel);
    if (const auto end = SetUp(run, body))
        return *end;
    return body == Body::Bd ? MeasureBd(run) : Measure(run);
}

std::optional<SpeedTestEnd> SpeedTest::SetUp(Run& run, Body body)
{
    DriveContext& drives = m_drives;
    drives.media.GetDriveProfile(run.profile);
    if (!m_claim.Begin()) {  // stopped before it began
        EndEarly("Ready");
        return SpeedTestEnd::Stopped;
    }
    g_nLastPointX = 1;
    g_nLastPointXCopy = 1;
    g_nSpeedBaseY = kGraphBottom;
    g_qwBytesSincePoint = 0;
    g_bDvdSpeedScale20 = 1;
    g_fCdX = g_fDvdX = 0;  // the graph starts with this run's first measured speed
    run.family = body == Body::Bd ? SpeedFamily::Bd
        : body == Body::HdDvd     ? SpeedFamily::HdDvd
                                  : SpeedFamilyOf(run.profile);
    if (body != Body::Bd)
        ReadDiscStructure(run);
    m_graph.SetSpeedOrigin(0, kGraphBottom);
    m_graph.SetRpmOrigin(0, kGraphBottom);

    const CapacityAnswer capacity = drives.reads.ReadCapacityAnswer();
    if (!capacity.ok) {
        m_events.Beep(MB_OK);
        return EndEarly(nullptr);
    }
    run.last = capacity.lastLba;
    m_lastBlock = run.last;
    if (run.last == 0) {
        m_events.MessageBox("Media seems to be blank!");
        RestorePage();
        m_events.Post(WM_TESTENDED);
        m_events.ShowStatus("Error - Media is blank");
        StopRunning();
        return SpeedTestEnd::Blank;
    }
    if (body == Body::Bd)
        run.twoLayers = (run.last >> 19) > 25;
    run.layerFactor = run.twoLayers ? 2.0 : 1.0;
    ShowFamily(run);
    if (IsCdFamily(run.family))
        RequestSpeed(run);

    m_events.SetText(kFieldLength, DiscLengthText(run.profile, run.last));
    m_graph.SetCapacityMarker(static_cast<int>(CapacityLineX(run.family, run.last, run.layerFactor)),
                              m_settings.markerColor);
    if (run.twoLayers && body != Body::Bd) {
        m_events.SetText(kFieldLayerTrackPath, run.pathFlag == 0 ? "OTP" : "PTP");
        if (run.layerBreak == 0)
            run.layerBreak = kDefaultLayerBreak;
        const double perGigabyte = body == Body::HdDvd ? 25 / run.layerFactor : 50;
        m_graph.SetLayerBreakMarker(static_cast<int>(run.layerBreak / 524288.0 * perGigabyte), m_settings.markerColor,
                                    1);
    } else if (run.twoLayers) {
        run.capacity = drives.media.GetMediaCapacity();
        if (run.capacity != 0)
            m_graph.SetLayerBreakMarker(static_cast<int>((run.capacity >> 19) * 16.66666 / run.layerFactor),
                                        m_settings.markerColor, 1);
    } else {
        m_graph.SetLayerBreakMarker(0, 0, 1);
    }
    m_graph.Redraw();
    if (run.family == SpeedFamily::Dvd)
        RequestSpeed(run);

    if (body != Body::Bd && !TestRead(run, body))
        return SpeedTestEnd::Failed;
    run.tray.emplace(drives.mmc);
    if (body != Body::CdDvd)
        RequestSpeed(run);
    if (body == Body::Bd)
        m_events.ShowStatus("Pre-Spin up...");
    PreSpin(m_settings.preSpinSeconds, run.opcode);
    m_events.ShowStatus("Preparing...");
    if (body == Body::Bd)
        drives.mmc.WaitForUnitReady(kBdUnitReadySeconds);
    // The measuring begins now: the pre-spin's seconds are not the reads'.
    run.sampleTick = run.startTick = Now();
    return std::nullopt;
}

void SpeedTest::ReadDiscStructure(Run& run)
{
    std::vector<std::uint8_t> answer(kStructureLength, 0);
    if (m_drives.reads.ReadDiscStructureNoCheck(0, 0, disc_structure::kPhysicalFormat, kStructureLength, answer.data())
        != 0)
        return;
    const std::uint32_t lastOfLayerZero = (std::uint32_t{answer[17]} << 16) | (std::uint32_t{answer[18]} << 8)
        | answer[19];
    run.layerBreak = lastOfLayerZero > kDvdFirstDataSector ? lastOfLayerZero - kDvdFirstDataSector : 0;
    run.twoLayers = (answer[6] & 0x60) != 0;
    run.pathFlag = (answer[6] & 0x10) ? 0 : 1;
}

void SpeedTest::ShowFamily(Run& run)
{
    const SpeedFamilyFacts& facts = FactsOf(run.family);
    const CapacityTexts& capacity = run.twoLayers ? facts.twoLayerCapacity : facts.capacity;
    for (std::size_t i = 0; i < kCapacityAxisLabels.size(); ++i)
        m_events.SetText(kCapacityAxisLabels[i], capacity[i]);
    for (std::size_t i = 0; i < kSpeedAxisLabels.size(); ++i) {
        m_events.SetText(kSpeedAxisLabels[i], facts.speedLabels[i]);
        m_events.SetText(kRpmAxisLabels[i], facts.rpmLabels[i]);
    }
    run.speedYPerX = facts.speedYPerX;
    run.velocity = facts.velocity;
    run.trackPitch = facts.trackPitch;
    switch (run.family) {
    case SpeedFamily::Cd:
    case SpeedFamily::Ddcd: m_events.SetText(kFieldLayerTrackPath, "N/A"); break;
    case SpeedFamily::Bd: break;
    case SpeedFamily::HdDvd:
        if (!run.twoLayers)
            m_events.SetText(kFieldLayerTrackPath, "Single");
        break;
    case SpeedFamily::Dvd: {
        if (run.twoLayers) {
            run.velocity = 3.84;
            run.trackPitch = 8e-7;
        } else {
            m_events.SetText(kFieldLayerTrackPath, "Single");
        }
        // A disc without a physical format tells its track pitch in its
        // ADIP (format 11h).
        std::vector<std::uint8_t> answer(kStructureLength, 0);
        MmcMediaReads& reads = m_drives.reads;
        if (reads.ReadDiscStructureNoCheck(0, 0, disc_structure::kPhysicalFormat, kStructureLength, answer.data()) == 0)
            break;
        if (reads.ReadDiscStructureNoCheck(0, 0, disc_structure::kAdipInformation, kPitchStructureLength, answer.data())
            != 0)
            break;
        switch (answer[7] & 0x0F) {
        case 1: run.trackPitch = 8e-7; break;
        case 2: run.trackPitch = 6.15e-7; break;
        default: run.trackPitch = 7.4e-7; break;
        }
        break;
    }
    }
}

bool SpeedTest::TestRead(Run& run, Body body)
{
    // The test read never asks past the disc's end: a small disc would
    // refuse it and be taken for an unreadable one.
    const int count = static_cast<int>(std::min<std::uint32_t>(kBlocksPerRead, run.last + 1));
    if (!Read(run, mmc::kRead10, 0, count, kForceUnitAccess))
        return true;
    if (body == Body::CdDvd && !Read(run, mmc::kReadCd, 0, std::max(1, count / 2), 0)) {
        run.opcode = mmc::kReadCd;
        try {
            run.buffer.assign(kReadCdBufferBytes, 0);
        } catch (const std::bad_alloc&) {
            EndEarly("Could not allocate memory");
            return false;
        }
        return true;
    }
    if (body == Body::CdDvd)
        ReportSenseError(m_drives.m_ScsiCommand, m_report, mmc::kRead10);
    EndEarly("Ready");
    return false;
}

void SpeedTest::RequestSpeed(const Run& run)
{
    // The entry's own speed in the family's unit: a "16x" asks for 16x;
    // "MAX" for the drive's fastest. The result is not looked at.
    const SpeedFamilyFacts& facts = FactsOf(run.family);
    const int x = m_settings.speedX;
    m_drives.mmc.SetCdSpeed(x > 0 ? 1 : 0, static_cast<int>(facts.setSpeedKBpsPerX), x, 1, m_settings.speedRequest);
}

std::optional<SenseCode> SpeedTest::Read(Run& run, std::uint8_t opcode, std::uint32_t lba, int count,
                                         std::uint8_t byte1)
{
    const BlockReadResult read = ReadBlocksForTest(m_drives.reads, opcode, lba, count, byte1, run.buffer);
    if (read.ok)
        return std::nullopt;
    if (run.loss == DriveLoss::None) {
        run.loss = ConfirmLoss(m_drives.m_ScsiCommand, m_clock, read);
        run.lossBlock = lba;
    }
    return read.sense;
}

void SpeedTest::PreSpin(int seconds, std::uint8_t opcode)
{
    // The wait clock stands in for the window's elapsed-seconds timer.
    const std::uint64_t start = Now();
    std::vector<std::uint8_t> buffer;
    try {
        buffer.resize(opcode == mmc::kReadCd ? kReadCdBufferBytes : kBufferBytes);
    } catch (const std::bad_alloc&) {
        m_events.MessageBox("Error,  cannot allocate memory. Pre-spin not performed");
        return;
    }
    std::uint32_t block = 0;
    int elapsed = 0;
    std::string shown;
    do {
        // Each second's status once, not once a read: it goes to the log too.
        const std::string status = Format("Pre-Spin %d Seconds", std::max(seconds - elapsed, 0));
        if (status != shown)
            m_events.ShowStatus(shown = status);
        m_drives.mmc.WaitForUnitReady(kPreSpinUnitReadySeconds);
        ReadForTest(m_drives.reads, opcode, block, kBlocksPerRead, kForceUnitAccess, buffer);
        // The reads stay on the disc: a small one is read again from its start.
        block += kBlocksPerRead;
        if (m_lastBlock != 0 && block + kBlocksPerRead > m_lastBlock)
            block = 0;
        elapsed = static_cast<int>((Now() - start) / 1000);
    } while (elapsed < seconds && !m_claim.StopRequested());
}

SpeedTestEnd SpeedTest::Measure(Run& run)
{
    const bool hdDvd = run.family == SpeedFamily::HdDvd;
    const std::uint64_t sampleEvery = hdDvd ? 3000 : 1000;
    const auto bytesPerPoint = static_cast<std::uint64_t>(run.layerFactor * kBytesPerPoint);
    while (!m_claim.StopRequested() && run.position < run.last) {
        if (run.position + static_cast<std::uint32_t>(run.blocksPerRead) > run.last)
            run.blocksPerRead = static_cast<int>((run.last - run.position) & 0xFF);
        const std::optional<SenseCode> failure = Read(run, run.opcode, run.position, run.blocksPerRead, 0);
        const std::uint64_t tick = Now();
        if (m_claim.StopRequested())
            break;
        // The blocks the read asked for, as 2048-byte blocks whatever the
        // transfer size: a READ CD run and the last short read count what
        // they read.
        const std::uint64_t bytes = std::uint64_t(run.blocksPerRead) * kBlockBytes;
        if (run.loss != DriveLoss::None)
            return EndByFault(run);
        if (failure) {
            if (const auto end = CountReadError(run, *failure, 1))
                return *end;
        } else {
            run.totalBytes += bytes;
        }
        g_qwBytesSincePoint += bytes;
        run.bytesSinceSample += static_cast<double>(bytes);
        if (tick - run.sampleTick >= sampleEvery)
            Sample(run, tick);
        if (g_qwBytesSincePoint >= bytesPerPoint) {
            if (const auto end = GraphPoint(run, run.speedY))
                return *end;
        } else {
            run.rpmYSum += run.rpmY;
            run.xSum += g_nLastPointXCopy;
            ++run.iterations;
        }
        if (run.bytesSinceSample == 0)
            run.sampleTick = Now();
        run.position += static_cast<std::uint32_t>(run.blocksPerRead);
    }
    return EndNormally(run);
}

SpeedTestEnd SpeedTest::MeasureBd(Run& run)
{
    const auto bytesPerPoint = static_cast<std::uint64_t>(run.layerFactor * kBdBytesPerPoint);
    while (!m_claim.StopRequested() && run.position < run.last) {
        m_drives.mmc.WaitForUnitReady(kBdUnitReadySeconds);
        int failedReads = 0;
        std::optional<SenseCode> lastFailure;
        std::uint64_t passBytes = 0;
        for (int read = 0; read < kBdReadsPerPass; ++read) {
            const int count = static_cast<int>(std::min<std::uint32_t>(kBlocksPerRead, run.last - run.position));
            if (count < 1)
                break;
            if (const auto failure = Read(run, mmc::kRead10, run.position, count, 0)) {
                if (run.loss != DriveLoss::None)
                    return EndByFault(run);
                ++failedReads;
                lastFailure = failure;
            }
            run.position += static_cast<std::uint32_t>(count);
            passBytes += std::uint64_t(count) * kBlockBytes;
        }
        const std::uint64_t tick = Now();
        if (m_claim.StopRequested())
            break;
        if (failedReads > 0) {
            // The sense test is made on the pass's last failed command.
            if (const auto end = CountReadError(run, *lastFailure, failedReads))
                return *end;
        } else {
            run.totalBytes += passBytes;
        }
        g_qwBytesSincePoint += passBytes;
        run.bytesSinceSample += static_cast<double>(passBytes);
        run.rpmYSum += run.rpmY;
        run.xSum += g_nLastPointXCopy;
        ++run.iterations;
        if (tick - run.sampleTick >= 1000 && g_qwBytesSincePoint >= bytesPerPoint) {
            Sample(run, tick);
            if (const auto end = GraphPoint(run, kGraphBottom - static_cast<int>(g_fDvdX * run.speedYPerX)))
                return *end;
            g_qwBytesSincePoint -= bytesPerPoint;
            run.sampleTick = Now();
        }
    }
    return EndNormally(run);
}

std::optional<SpeedTestEnd> SpeedTest::CountReadError(Run& run, const SenseCode& sense, int failedReads)
{
    if (IsLockedDisc(sense))
        return EndAfterReadFailure(run, kLockedDiscText, "Media is encrypted & locked", SpeedTestEnd::Encrypted);
    m_events.ShowStatus("Read Error");
    run.readErrors += failedReads;
    if (run.readErrors > kMostReadErrors)
        return EndAfterReadFailure(run, "Too many errors, aborting scan", nullptr, SpeedTestEnd::TooManyErrors);
    m_events.SetText(kFieldReadErrors, Format("%d", run.readErrors));
    g_fDvdX = 0;
    return std::nullopt;
}

void SpeedTest::Sample(Run& run, std::uint64_t tick)
{
    const SpeedFamilyFacts& facts = FactsOf(run.family);
    // Measured over the milliseconds that passed, not whole seconds: a slow
    // read would otherwise be taken for up to twice its speed.
    const double seconds = static_cast<double>(tick - run.sampleTick) / 1000;
    const double elapsed = std::max(static_cast<double>(tick - run.startTick) / 1000, 0.001);
    const double kB = run.bytesSinceSample / 1024;
    g_fDvdX = static_cast<float>(kB / (seconds * facts.kBpsPerX));
    g_fCdX = static_cast<float>(kB / (seconds * 150));
    const bool cd = IsCdFamily(run.family);
    double shown = cd ? g_fCdX : g_fDvdX;
    if (facts.shownCap > 0)
        shown = std::min<double>(shown, facts.shownCap);
    m_events.SetText(kFieldCurrentSpeed, SpeedText(shown));
    run.shownSum += shown;
    ++run.shownCount;
    m_events.SetText(kFieldAverageSpeed, SpeedText(run.shownSum / run.shownCount));
    const double rate = run.bytesSinceSample / 102400 / seconds * 100;
    const double averageRate = run.family == SpeedFamily::Bd
        ? static_cast<double>(run.totalBytes / 1024) / elapsed
        : static_cast<double>(run.totalBytes / 102400) / elapsed * 100;
    m_events.SetText(kFieldAverageDataRate, Format("%5dKBps", static_cast<int>(averageRate)));
    m_events.SetText(kFieldRemaining, ProgressSizeText(run.profile, run.last - run.position));
    m_events.SetText(kFieldRead, ProgressSizeText(run.profile, run.position));

    double speedValue = 0;
    switch (run.family) {
    case SpeedFamily::Cd:
    case SpeedFamily::Ddcd: speedValue = g_fCdX * 4; break;
    case SpeedFamily::Dvd:
        if (g_fDvdX > 20 && run.started && g_bDvdSpeedScale20 == 1) {
            for (std::size_t i = 0; i < kSpeedAxisLabels.size(); ++i)
                m_events.SetText(kSpeedAxisLabels[i], kFastDvdSpeedLabels[i]);
            g_bDvdSpeedScale20 = 0;
            HalveSpeedScale(run);
        }
        speedValue = g_fDvdX * (g_bDvdSpeedScale20 == 1 ? 20 : 10);
        break;
    case SpeedFamily::HdDvd:
    case SpeedFamily::Bd:
        if (g_fDvdX > 9 && !run.fastScale) {
            const AxisTexts& labels = run.family == SpeedFamily::Bd ? kFastBdSpeedLabels : kFastHdDvdSpeedLabels;
            for (std::size_t i = 0; i < kSpeedAxisLabels.size(); ++i)
                m_events.SetText(kSpeedAxisLabels[i], labels[i]);
            run.fastScale = true;
            run.speedYPerX = 20;
            HalveSpeedScale(run);
        }
        speedValue = g_fDvdX * run.speedYPerX;
        break;
    }
    run.speedYSum += static_cast<int>(speedValue);
    ++run.samplesSincePoint;
    if (run.family == SpeedFamily::Bd)
        run.rpm = CalcBdRpm(run.position, rate, run.velocity, static_cast<int>(run.last), run.trackPitch,
                            static_cast<int>(run.capacity), 0);
    else
        run.rpm = CalcRpm(run.position, rate, run.velocity, run.pathFlag, run.last, run.trackPitch, run.layerBreak);
    run.bytesSinceSample = 0;
}

void SpeedTest::HalveSpeedScale(Run& run)
{
    // What is drawn already and the speeds summed for the next point go to
    // the new scale, so the whole curve reads against the new labels.
    m_graph.ScaleSpeedCurve(kGraphBottom, 1, 2);
    run.speedYSum /= 2;
    run.speedY = kGraphBottom - (kGraphBottom - run.speedY) / 2;
}

std::optional<SpeedTestEnd> SpeedTest::GraphPoint(Run& run, int speedY)
{
    const bool bd = run.family == SpeedFamily::Bd;
    if (!bd && run.samplesSincePoint > 0) {
        speedY = kGraphBottom - run.speedYSum / run.samplesSincePoint;
        run.speedYSum = 0;
        run.samplesSincePoint = 0;
    }
    run.speedY = speedY;
    if (run.iterations > 0) {
        run.rpmY = run.rpmYSum / run.iterations;
        run.xOrigin = run.xSum / run.iterations;
        run.rpmYSum = run.xSum = run.iterations = 0;
    }
    if (!run.started && g_fDvdX > 0) {
        run.started = true;
        m_graph.SetSpeedOrigin(g_nLastPointX, speedY);
        if (run.rpmY == 0)
            run.rpmY = kUnstartedRpmY;
        m_graph.SetRpmOrigin(run.xOrigin, run.rpmY);
        m_events.ShowStatus("Running Speed Test...");
        if (run.readErrors > 0) {
            if (m_events.MessageBox("Test started with a read error, do you want to continue?", "Read Error?",
                                    MB_YESNO | MB_ICONQUESTION)
                == IDNO)
                return EndDeclined(run);
            run.sampleTick = Now();
        }
    }
    if (!run.started) {
        // Nothing measured yet: no point is drawn that was not read.
        if (!bd)
            g_qwBytesSincePoint = 0;
        return std::nullopt;
    }
    const int rpmDivisor = FactsOf(run.family).rpmDivisor;
    if (const int rpmY = kGraphBottom - static_cast<int>(run.rpm / rpmDivisor); rpmY > 0)
        run.rpmY = rpmY;
    const int x = PointX(run.family, run.position, run.layerFactor);
    g_nLastPointX = g_nLastPointXCopy = x;
    m_graph.AddRpmPoint(x, run.rpmY);
    m_graph.AddSpeedPoint(x, speedY);
    m_graph.Redraw();
    const bool everyPoint = run.family == SpeedFamily::HdDvd;
    if (everyPoint || ++run.pointCounter >= kPointsPerProgress) {
        run.pointCounter = 0;
        ShowElapsedAndProgress(run);
    }
    if (!bd)
        g_qwBytesSincePoint = 0;
    return std::nullopt;
}

void SpeedTest::ShowElapsedAndProgress(const Run& run)
{
    m_events.SetText(kFieldElapsedTime, ElapsedText(Now() - m_settings.startMs));
    m_events.SetProgress(PercentOf(run.position, run.last));
}

SpeedTestEnd SpeedTest::EndNormally(Run& run)
{
    const bool stopped = run.position < run.last;
    m_events.SetText(kFieldElapsedTime, ElapsedText(Now() - m_settings.startMs));
    m_events.SetProgress(100);
    m_events.SetText(kFieldRemaining, "-----");
    m_events.SetText(kFieldRead, "-----");
    for (int id : {kDevices, kTools})
        m_events.Enable(id, true);
    m_events.SetPageRunning(false);
    m_events.ShowStatus("Ready");
    m_events.Post(WM_TESTENDED);
    run.tray.reset();
    m_events.Beep(MB_ICONINFORMATION);
    StopRunning();
    return stopped ? SpeedTestEnd::Stopped : SpeedTestEnd::Complete;
}

SpeedTestEnd SpeedTest::EndByFault(Run& run)
{
    // Never complete: the graph and the figures so far stay.
    LogEntry(Format("Speed test ended at LBA %Xh: %s", run.lossBlock, DriveLossText(run.loss)));
    m_events.SetText(kFieldElapsedTime, ElapsedText(Now() - m_settings.startMs));
    for (int id : {kDevices, kTools})
        m_events.Enable(id, true);
    m_events.SetPageRunning(false);
    m_events.ShowStatus(Format("Test ended at LBA %Xh: %s", run.lossBlock, DriveLossText(run.loss)));
    m_events.Post(WM_TESTENDED);
    run.tray.reset();
    m_events.Beep(MB_ICONERROR);
    StopRunning();
    return SpeedTestEnd::Fault;
}

SpeedTestEnd SpeedTest::EndAfterReadFailure(Run& run, const char* message, const char* status, SpeedTestEnd end)
{
    m_events.MessageBox(message);
    m_graph.ClearGraph();
    m_graph.Redraw();
    m_events.SetPageRunning(false);
    ResetTestResults(m_events);
    if (status)
        m_events.ShowStatus(status);
    m_events.Enable(kDevices, true);
    m_events.Enable(kTools, true);
    m_events.Post(WM_TESTENDED);
    run.tray.reset();
    StopRunning();
    return end;
}

SpeedTestEnd SpeedTest::EndDeclined(Run& run)
{
    run.tray.reset();
    m_graph.ClearGraph();
    m_graph.Redraw();
    m_events.SetPageRunning(false);
    ResetTestResults(m_events);
    m_events.ShowStatus("An error was encountered");
    m_events.Enable(kDevices, true);
    m_events.Enable(kTools, true);
    m_events.Post(WM_TESTENDED);
    StopRunning();
    return SpeedTestEnd::Declined;
}

SpeedTestEnd SpeedTest::EndEarly(const char* status)
{
    RestorePage();
    if (status)
        m_events.ShowStatus(status);
    StopRunning();
    return SpeedTestEnd::Failed;
}

void SpeedTest::RestorePage()
{
    for (int id : {kDevices, kTools, kSpeedList, kSpeedLabel, kRequestClv, kRequestCav, kPreSpinList, kPreSpinLabel})
        m_events.Enable(id, true);
    m_events.SetPageRunning(false);
}

void SpeedTest::StopRunning()
{
    m_claim.BusyFlag() = 0;
}
