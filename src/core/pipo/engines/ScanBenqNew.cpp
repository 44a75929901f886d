#include "core/base/Format.h"
#include "core/base/LogFile.h"
#include "core/base/MessageIds.h"
#include "core/base/UserPrompt.h"
#include "core/drive/CommandFailure.h"
#include "core/drive/DriveContext.h"
#include "core/graphs/PiPoLowerGraph.h"
#include "core/graphs/PiPoUpperGraph.h"
#include "core/pipo/ScanContext.h"
#include "core/pipo/ScanDriveSteps.h"
#include "core/pipo/ScanScales.h"
#include "core/pipo/ScanSink.h"
#include "core/pipo/engines/ScanEngine.h"
#include "core/pipo/engines/ScanFigures.h"
#include "core/pipo/engines/ScanLoop.h"
#include "scsi/Bytes.h"
#include "scsi/DiscStructure.h"
#include "scsi/Opcodes.h"

#include <algorithm>
#include <array>
#include <span>
#include <vector>

namespace {

constexpr std::uint64_t kSectorsPerLayerPoint = 5242;
constexpr std::int64_t kShortestStep = 128;
constexpr std::int64_t kLongestStep = 512;
constexpr int kStatisticsMode = 121;
constexpr int kWatchedAnswers = 200;
constexpr std::uint64_t kSettleMs = 30000;
constexpr std::uint64_t kNoDataMs = 20000;
constexpr std::uint32_t kPauseMs = 1000;

enum Status : std::uint8_t {
    kData = 0x00,
    kParameterNotValid = 0x02,
    kNotInitialised = 0x22,
    kOverflow = 0x32,
    kSendFailed = 0xFF,
};

// READ DVD STRUCTURE format 00h, else 11h: the end of layer 0 as a physical
// sector number (reply bytes 17-19), -1 when neither is read.
int ReadDvdStructure(ScanContext& context)
{
    std::vector<std::uint8_t> reply;
    if (context.drive.media.ReadDvdStructureOrAdip(reply, nullptr) == 0)
        return static_cast<int>(scsi::GetBe24(&reply[17]));
    return -1;
}

int SpeedCodeFor(int cavSpeedIndex)
{
    switch (cavSpeedIndex) {
    case 0: return 2;
    case 1: return 4;
    case 2: return 5;
    default: return 0;
    }
}

// One run of the newer BenQ loop: the drive in service mode with power
// management off from the set-up on, given back on every way out.
class BenqNewScan {
public:
    explicit BenqNewScan(ScanContext& scanContext) :
        context(scanContext), benq(scanContext.drive.benq), run(scanContext, [this] { GiveDriveBack(); })
    {
    }

    void Run();

private:
    void GiveDriveBack();
    bool SetUp();
    // A set-up step failed: its message, then the ending of a disc without data.
    void FailSetUp(const char* message);
    bool Rearm(std::uint32_t psn);
    bool Restart();
    // The end of the run: completed, or stopped with its end text.
    void End(bool completed, const std::string& endText);
    void TakeBlock(const std::uint8_t* block);
    bool CloseInterval();
    void ShowFigures();
    bool NearEnd();
    std::span<std::uint8_t> Reply() { return context.replyBuffer; }

    ScanContext& context;
    BenqCommands& benq;
    ScanMedium medium;
    bool powerOff = false;
    bool serviceMode = false;
    int layer0End = 0;  // physical sector number
    std::uint64_t setUpMs = 0;
    std::uint64_t scanStartMs = 0;
    std::uint64_t lastDataMs = 0;
    int speedCode = 0;

    // The loop's figures.
    RmsFigures figures;
    bool firstSample = true;
    std::int64_t pofTotal = 0;
    std::int64_t intervalSectors = 0;
    std::uint32_t maxPI = 0;
    std::uint32_t maxPIF = 0;
    double maxSpeed = 0;
    std::uint32_t previousPosition = 0;
    std::uint32_t runningPsn = 0;
    int watchState = 0;
    bool restarted = false;
    int watchCounter = 0;
    bool layerSwitched = false;
    // The last data block's values.
    std::uint32_t pi = 0;
    std::uint32_t pif = 0;
    std::uint8_t speedByte = 0;
    // Last, so that a run left by an exception gives the drive back while
    // the state above is still there.
    ScanRun run;
};

void BenqNewScan::GiveDriveBack()
{
    if (serviceMode) {
        WaitForUnitReady(context, 20);
        benq.BenqSetStatisticsMode(Reply(), 0);
        benq.BenqSetStartAddress(Reply(), kDvdFirstDataSector);
        benq.BenqServiceMode(true);
        serviceMode = false;
    }
    if (powerOff) {
        benq.BenqSetPowerManagement(false);
        powerOff = false;
    }
}

void BenqNewScan::FailSetUp(const char* message)
{
    context.prompt.MessageBox(message, "", MB_OK);
    run.EndStopped("Invalid media for command");
}

bool BenqNewScan::SetUp()
{
    context.scales.With([&](ScanScales& scales) { scales.SetSpeedAxis(0.0, context.m_pUpperGraph); });
    const auto disc = SetUpScanMedium(run);
    if (!disc)
        return false;
    medium = *disc;
    layer0End = ReadDvdStructure(context);
    if (medium.factor == 2 && layer0End > static_cast<int>(kDvdFirstDataSector)) {
        const int x = static_cast<int>(static_cast<float>((layer0End - kDvdFirstDataSector) / 524288.0) * 50.0F);
        const COLORREF colour = context.choices.markerColour;
        if (context.m_pUpperGraph)
            context.m_pUpperGraph->SetLayerBreakMarker(x, colour);
        if (context.m_pLowerGraph)
            context.m_pLowerGraph->SetLayerBreakMarker(x, colour);
    }
    run.Begin("PIE/PIF/Jitter Test Running");
    if (benq.BenqSetPowerManagement(true) != 0) {
        FailSetUp("Error disabling drive power management");
        return false;
    }
    powerOff = true;
    std::array<std::uint8_t, 2048> block{};
    context.drive.reads.Read10(0, 1, block);
    setUpMs = context.Clock().NowMs();
    if (benq.BenqServiceMode(false) != 0) {
        FailSetUp("Error enabling service mode");
        return false;
    }
    serviceMode = true;
    speedCode = SpeedCodeFor(context.choices.cavSpeedIndex);
    if (benq.BenqSetSpeed(speedCode) != 0)
        context.prompt.MessageBox("Error setting speed", "", MB_OK);
    if (benq.BenqSetStatisticsMode(Reply(), kStatisticsMode) != 0) {
        FailSetUp("Error setting statistics mode");
        return false;
    }
    if (benq.BenqSetStartAddress(Reply(), runningPsn) != 0) {
        FailSetUp("Error Reading start address");
        return false;
    }
    return true;
}

bool BenqNewScan::Rearm(std::uint32_t psn)
{
    benq.BenqResetAddress(Reply(), psn);
    return benq.BenqSetStartAddress(Reply(), psn) == 0;
}

// The drive has sent nothing for long: speed and statistics set again at the
// last valid position. False with the run ended when the drive refuses.
bool BenqNewScan::Restart()
{
    watchState = 2;
    std::string waiting = "Waiting for drive ...";
    context.sink.SetStatus(waiting);
    for (int pause = 0; pause < 4; ++pause) {
        context.Clock().SleepMs(kPauseMs);
        if (pause < 3) {
            waiting += '.';
            context.sink.SetStatus(waiting);
        }
    }
    watchCounter = 0;
    restarted = true;
    if (benq.BenqSetSpeed(speedCode) != 0)
        context.prompt.MessageBox("Error setting speed", "", MB_OK);
    if (benq.BenqSetStatisticsMode(Reply(), kStatisticsMode) != 0) {
        End(false, "Error setting statistics mode");
        return false;
    }
    if (benq.BenqSetStartAddress(Reply(), previousPosition) != 0) {
        End(false, "Error Reading start address");
        return false;
    }
    context.sink.SetStatus("PIE/PIF/Jitter Test continuing");
    return true;
}

void BenqNewScan::ShowFigures()
{
    context.displays.pofTotal = Format("%d", static_cast<int>(pofTotal));
    figures.Show(context, context.state.m_nPIPeak.load(), context.state.m_nPIFPeak.load(), figures.jitterPeak);
}

bool BenqNewScan::NearEnd()
{
    if (context.state.m_llEndLba - context.state.m_llStartLba >= kShortestStep)
        return false;
    context.state.m_llStartLba = context.state.m_llEndLba;
    return true;
}

void BenqNewScan::TakeBlock(const std::uint8_t* block)
{
    pi = 0;
    for (int word = 0; word < 5; ++word)
        pi += scsi::GetBe16(block + 12 + 2 * word);
    pif = scsi::GetBe16(block + 22);
    speedByte = block[6];
    pofTotal += scsi::GetBe16(block + 56);
    figures.jitter = BenqJitterTenths(scsi::GetBe16(block + 59));
    figures.jitterPeak = std::max(figures.jitterPeak, figures.jitter);
    if (firstSample) {
        figures.jitter = 8;
        figures.jitterPeak = 8;
        figures.piTotal = 0;
        figures.pifTotal = 0;
        figures.piSquares.Start(pi);
        figures.pifSquares.Start(pif);
        figures.jitterSquares.Start(static_cast<std::uint64_t>(figures.jitter));
        firstSample = false;
    }
    figures.Update();
    RaisePeak(context.state.m_nPIPeak, pi);
    RaisePeak(context.state.m_nPIFPeak, pif);
    maxPI = std::max(maxPI, pi);
    maxPIF = std::max(maxPIF, pif);
}

// A graph point when the interval is full: false when the run has reached
// its end. A layer switch instead moves the drive to the second layer.
bool BenqNewScan::CloseInterval()
{
    const auto layers = static_cast<std::int64_t>(medium.factor);
    if (intervalSectors < layers * static_cast<std::int64_t>(kSectorsPerLayerPoint))
        return true;
    if (layers == 2 && !layerSwitched && static_cast<std::int64_t>(runningPsn) + kShortestStep > layer0End) {
        context.sink.SetStatus("Switching to second layer L1");
        context.Clock().SleepMs(kPauseMs);
        layerSwitched = true;
        // The second layer starts after the first one's last LBA: a running
        // position still short of it moves on to it.
        const auto lastOfLayer0 = static_cast<std::uint32_t>(layer0End) - kDvdFirstDataSector;
        const auto running = std::max(static_cast<std::uint32_t>(context.state.m_llStartLba), lastOfLayer0 + 1);
        context.state.m_llStartLba = running;
        const std::uint32_t address = GetLayerAddress(running, lastOfLayer0, 0xFFFFFF) - kDvdFirstDataSector;
        runningPsn = address;
        previousPosition = address;
        Rearm(address);
        context.sink.SetStatus("L1 PIE/PIF/Jitter Test Running");
        return true;
    }
    const double speed = speedByte / 10.0;
    if (speed > maxSpeed) {
        maxSpeed = speed;
        context.scales.With([&](ScanScales& scales) { scales.SetSpeedAxis(speed, context.m_pUpperGraph); });
    }
    if (context.m_pUpperGraph)
        context.m_pUpperGraph->AddPoint(static_cast<int>(maxPI), speedByte);
    if (context.m_pLowerGraph)
        context.m_pLowerGraph->AddPoint(static_cast<int>(maxPIF), 0,
                                        context.state.m_nJitterType == 0 ? figures.jitter
                                                                         : static_cast<int>(figures.rmsJitter));
    maxPI = 0;
    maxPIF = 0;
    intervalSectors -= layers * static_cast<std::int64_t>(kSectorsPerLayerPoint);
    if (NearEnd())
        return false;
    ++figures.n;
    if (figures.n < 10)
        figures.jitterPeak = static_cast<int>(figures.rmsJitter);
    if (figures.n > 1) {
        figures.piSquares.Add(pi);
        figures.pifSquares.Add(pif);
        figures.jitterSquares.Add(static_cast<std::uint64_t>(figures.jitter));
    }
    ApplyJitterLadder(context, figures.jitterPeak, 3 * static_cast<std::int64_t>(figures.rmsJitter));
    ApplyUpperLadder(context, 3 * static_cast<std::int64_t>(figures.rmsPI));
    ApplyLowerLadder(context, 3 * static_cast<std::int64_t>(figures.rmsPIF));
    ShowFigures();
    ShowProgress(context);
    context.sink.ShowQualityRating();
    return true;
}

void BenqNewScan::End(bool completed, const std::string& endText)
{
    std::string text = endText;
    if (completed) {
        const std::uint64_t seconds = (context.Clock().NowMs() - scanStartMs) / 1000;
        text = Format("%s in %02d:%02d", endText.c_str(), static_cast<int>(seconds / 60),
                      static_cast<int>(seconds % 60));
    } else {
        context.sink.SetStatus("Trying to stop please be patient...");
        context.g_bErrorTestRunning = 0;  // ended early: never "Test Complete"
    }
    ShowFigures();
    RedrawGraphs(context);
    run.Complete(Format("%-12s", text.c_str()), completed);
}

void BenqNewScan::Run()
{
    runningPsn = static_cast<std::uint32_t>(context.state.m_llStartLba) + kDvdFirstDataSector;
    if (!SetUp())
        return;
    scanStartMs = context.Clock().NowMs();
    lastDataMs = scanStartMs;
    const auto stop = [&](const char* text) { End(false, text); };
    while (context.state.m_llStartLba < context.state.m_llEndLba) {
        const std::uint8_t* block = context.replyBuffer.data();
        if (benq.BenqReadErrorStatistics(Reply()) != 0) {
            LogEntry(DescribeLastFailure(context.drive.m_ScsiCommand, "BENQ F9", vendor_opcode::kBenqSendF9));
            return stop("Error reported reading Error Statistics, routine will now end.");
        }
        if (context.g_bErrorTestRunning == 0)
            return stop("Stopped as requested");
        switch (block[0]) {
        case kParameterNotValid: return stop("Parameter(s) not valid for this command");
        case kNotInitialised: return stop("The system is not initialized");
        case kSendFailed: return stop("Execution of the ATAPI send command failed");
        case kOverflow:
            context.sink.SetStatus("Overflow,  re-reading...");
            Rearm(previousPosition);
            continue;
        default: break;
        }
        const std::uint64_t now = context.Clock().NowMs();
        if (block[60] == 0 && !restarted && watchState == 1) {
            if (++watchCounter < kWatchedAnswers)
                continue;
            if (now - setUpMs < kSettleMs) {
                watchCounter = 0;
                continue;
            }
            if (!Restart())
                return;
            continue;
        }
        if (restarted && ((block[1] == 0 && block[2] == 0) || block[60] == 0)) {
            ++watchCounter;
            if (now - lastDataMs > kNoDataMs) {
                if (ProgressAt(static_cast<std::uint64_t>(context.state.m_llStartLba),
                               static_cast<std::uint64_t>(context.state.m_llEndLba))
                    >= 99)
                    break;
                if (context.prompt.MessageBox("No valid data received for 20 seconds, do you want to abort..", "Abort?",
                                              MB_YESNO | MB_ICONQUESTION)
                    == IDYES)
                    return stop("Aborted");
                watchCounter = 0;
                lastDataMs = context.Clock().NowMs();
            } else if (watchCounter >= kWatchedAnswers) {
                watchCounter = 0;
                Rearm(previousPosition);
            }
            continue;
        }
        watchCounter = 0;
        if (block[0] != kData || block[1] != 'd' || block[2] != 'v' || block[3] != 'd')
            continue;
        if (watchState == 0)
            watchState = 1;
        lastDataMs = now;
        TakeBlock(block);
        const std::uint32_t position = scsi::GetBe24(block + 7);
        const std::int64_t delta = static_cast<std::int64_t>(position) - static_cast<std::int64_t>(previousPosition);
        if (delta >= kShortestStep && delta <= kLongestStep) {
            intervalSectors += delta;
            context.state.m_llStartLba += delta;
            runningPsn += static_cast<std::uint32_t>(delta);
            if (NearEnd())
                break;
        }
        const bool switchedBefore = layerSwitched;
        if (!CloseInterval())
            break;
        if (layerSwitched != switchedBefore)
            continue;
        if (figures.n > 1) {
            figures.piTotal += pi;
            figures.pifTotal += pif;
        }
        figures.jitter = 0;
        previousPosition = position;
    }
    End(true, "Test Complete");
}

}  // namespace

void ScanBenqNew(ScanContext& context)
{
    BenqNewScan(context).Run();
}

bool IsNewBenqDrive(ScanContext& context)
{
    return context.drive.benq.IsNewBenqDrive();
}
