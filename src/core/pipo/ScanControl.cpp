#include "core/pipo/ScanControl.h"

#include "core/base/BusyFlags.h"
#include "core/app/DeviceBroadcast.h"
#include "core/base/Format.h"
#include "core/base/LogFile.h"
#include "core/base/UserPrompt.h"
#include "core/drive/DriveContext.h"
#include "core/graphs/PiPoLowerGraph.h"
#include "core/graphs/PiPoUpperGraph.h"
#include "core/pipo/ScanContext.h"
#include "core/pipo/ScanControlIds.h"
#include "core/pipo/ScanDriveClassification.h"
#include "core/pipo/ScanSink.h"
#include "core/pipo/ScanWindowPort.h"
#include "scsi/DiscStructure.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <limits>
#include <utility>

namespace {

using namespace scan_control;

constexpr unsigned kSimpleBeep = 0xFFFFFFFFu;
// Rounds of the range check's wait and READ CAPACITY before Start gives up.
constexpr int kRangeRounds = 3;
constexpr std::size_t kSavedStatusLength = 100;
constexpr std::size_t kDisplayTextLength = 20;
constexpr std::uint32_t kStructureLength = disc_structure::kPhysicalFormatLength;
constexpr std::uint64_t kPrefillSectorsSingleLayer = 5242;
constexpr std::uint64_t kPrefillSectorsDualLayer = 10484;
constexpr std::size_t kMostDroppedFiles = 2;

constexpr int kDisabledAtStart[] = {kStart,  kCompare, kProgressiveUpper, kProgressiveLower, kSave,   kLoad,    kGraph1,
                                    kGraph2, kEject,   kJitterInstant,    kJitterAverage,    kSetLba, kCavSpeed};
constexpr int kEnabledAtStop[] = {kSave, kLoad, kGraph1, kGraph2, kJitterInstant, kJitterAverage, kCavSpeed};

struct Caption {
    int id;
    const char* text;
};
constexpr Caption kPifCaptions[] = {
    {kJitterInstLabel, "Jitter Inst."}, {kJitterPeakLabel, "Jitter Peak"}, {kPifTotalLabel, "PIF Total"},
    {kPifPeakLabel, "PIF Peak"},        {kPifAvgLabel, "PIF Avg"},         {kPifScaleLabel, "PIF Scale (Left)"},
};

std::string Cut(std::string text, std::size_t length)
{
    if (text.size() > length)
        text.resize(length);
    return text;
}

std::string LowerCase(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// The extension of a path's last part, with its dot; empty without one.
std::string ExtensionOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of('/');
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return {};
    return path.substr(dot);
}

// A thread of the table serves the drive code, whatever the model.
bool ScansFamily(const ScanThreadTable& table, int driveCode)
{
    return std::any_of(table.rows.begin(), table.rows.end(),
                       [&](const ScanThreadRow& row) { return row.driveCode == driveCode; });
}

}  // namespace

std::int64_t ParseLbaText(const std::string& text)
{
    const long value = LeadingLong(text, 16);
    return std::clamp<long>(value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max());
}

std::string FormatLbaText(int lba)
{
    return Format("%X", static_cast<unsigned>(lba));
}

ScanControl::ScanControl(ScanContext& context, ScanWindowPort& window, ScanThreadTable threads) :
    m_context(context), m_window(window), m_threads(std::move(threads))
{
}

ScanControl::~ScanControl()
{
    m_context.g_bErrorTestRunning = 0;
    JoinScanThread();
}

void ScanControl::JoinScanThread()
{
    if (m_thread.joinable())
        m_thread.join();
}

bool ScanControl::ScanThreadRunning() const
{
    return !m_threadEnded;
}

void ScanControl::ParseRangeTexts()
{
    range.llStartLba = ParseLbaText(range.strStartLba);
    range.llEndLba = ParseLbaText(range.strEndLba);
    // A scan thread still ending owns the running position.
    if (!ScanThreadRunning()) {
        m_context.state.m_llStartLba = range.llStartLba;
        m_context.state.m_llEndLba = range.llEndLba;
    }
}

bool ScanControl::CheckRange()
{
    ParseRangeTexts();
    ScanState& state = m_context.state;
    for (int round = 0; state.m_llEndLba == 0 || state.m_llEndLba < state.m_llStartLba || state.m_llStartLba < 0;
         ++round) {
        if (round == kRangeRounds) {
            if (m_context.drive.mmc.TestMediaPresent() != 1)
                ShowNoMedia();
            else
                m_context.sink.SetStatus("Timeout waiting for unit");
            return false;
        }
        m_context.sink.SetStatus("Waiting for Drive to become ready.");
        WaitForUnitReady(10);
        const RangeRead read = ReadRange();
        m_window.UpdateControls();
        if (read == RangeRead::Blank)
            return false;
    }
    return true;
}

void ScanControl::ShowNoMedia()
{
    m_context.sink.SetStatus("No Media loaded");
    m_window.Beep(kSimpleBeep);
}

void ScanControl::OnStart()
{
    ScanContext& context = m_context;
    ScanState& state = context.state;
    if (context.g_bErrorTestRunning != 0)
        return;
    JoinScanThread();
    std::optional<ChannelClaim> claim = context.drive.coordinator.TryClaim(ChannelUse::PiPoScan);
    if (!claim) {
        context.prompt.MessageBox("You must stop the test first", "Error Test Running!", MB_ICONEXCLAMATION);
        return;
    }

    if (!CheckRange())
        return;
    context.sink.SetStatus("Ready.");
    state.m_strSavedStatus = Cut(Format("%-40.40s", "Ready."), kSavedStatusLength);

    const ScanDriveDetection detection = DetectScanDrive(context);
    m_window.ApplyDriveSetup(detection);
    context.replyBuffer.fill(0);
    // A drive of no scanning family is refused before anything is disabled,
    // and named once: here, unless its classification just did.
    if (state.m_nDriveCode == kDriveUnsuitable || !ScansFamily(m_threads, state.m_nDriveCode)) {
        if (!detection.told)
            context.prompt.MessageBox(kUnsuitableDriveMessage, "", MB_OK);
        return;
    }

    std::optional<TrayLock> questionLock;
    if ((state.m_nGraphSlot == 1 ? state.m_bNotSaved1 : state.m_bNotSaved2) == 1) {
        questionLock.emplace(context.drive.mmc);
        if (context.prompt.MessageBox("Previous graph not saved,  are you sure you want to start?", "Graph not saved!",
                                      MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2)
            == IDNO)
            return;
    }

    context.sink.SetStatus("Please Wait...");
    if (questionLock)
        questionLock.reset();
    else
        LockTray(false);
    SetupMedia(true);
    // After the set-up, whose Stop step turns the notification on again.
    m_notificationOff.emplace(context.drive.m_ScsiCommand);
    m_window.ReapplyProgressiveColouring();
    m_window.ShowDriveName();

    if (context.drive.mmc.TestMediaPresent() != 1) {
        ShowNoMedia();
        return;
    }
    m_trayLock.emplace(context.drive.mmc);
    if (WaitForUnitReady(15) == 1) {
        context.sink.SetStatus("Timeout waiting for unit");
        m_trayLock.reset();
        return;
    }

    context.sink.SetStatus("Starting PI PO Test...");
    for (int id : kDisabledAtStart)
        context.sink.EnableControl(id, false);
    context.sink.SetCaption(kQualityRating, "Quality Rating");
    m_window.UpdateControls();

    (state.m_nGraphSlot == 1 ? state.m_bNotSaved1 : state.m_bNotSaved2) = 1;
    if (state.m_llStartLba != 0)
        PrefillGraphs(state.m_llStartLba);

    const bool newerBenq = state.m_nDriveCode == kDriveBenq && m_threads.isNewBenqDrive
        && m_threads.isNewBenqDrive(context);
    const ScanThreadRow* row = FindScanThread(m_threads, state.m_nDriveCode, newerBenq, state.m_bJitterCapable != 0);
    if (!row || !row->engine) {
        // Nothing runs: the controls wait for Stop, the tray is free now.
        m_trayLock.reset();
        return;
    }
    m_threadEnded = false;
    context.stopBeforeBegin = false;
    context.trayGivenBack = false;
    m_thread = std::thread([this, row, hold = std::move(*claim)]() mutable {
        RunScanThread(*row, &m_context);
        hold.Release();
        m_threadEnded = true;
    });
}

void ScanControl::RestoreNotification()
{
    if (m_notificationOff)
        m_notificationOff.reset();
    else
        m_context.drive.m_ScsiCommand.DisableMCN(false);
}

void ScanControl::OnStop()
{
    ScanContext& context = m_context;
    ParseRangeTexts();
    if (context.trayGivenBack.exchange(false)) {
        if (m_trayLock)
            m_trayLock->Forget();
        m_trayLock.reset();
    } else if (m_trayLock) {
        m_trayLock.reset();
    } else {
        LockTray(false);
    }
    RestoreNotification();
    context.sink.EnableControl(kProgressiveUpper, true);
    context.sink.EnableControl(kProgressiveLower, true);
    if (context.state.m_nDriveCode != kDriveUnsuitable)
        context.sink.EnableControl(kStart, true);
    context.sink.EnableControl(kEject, true);
    context.sink.EnableControl(kSetLba, true);
    if (ScanThreadRunning() && context.g_bErrorTestRunning == 0)
        context.stopBeforeBegin = true;
    context.g_bErrorTestRunning = 0;
    context.sink.EnableControl(kReadSpeed, true);
    context.sink.EnableControl(
        kCompare, m_window.UpperGraphOfSlot(1).GetPointCount() > 0 && m_window.UpperGraphOfSlot(2).GetPointCount() > 0);
    for (int id : kEnabledAtStop)
        context.sink.EnableControl(id, true);

    if (ScanThreadRunning())
        return;
    ScanDisplayTexts shown = m_window.ReadDisplays();
    for (std::string* text : {&shown.piPeak, &shown.pifAvg, &shown.pifPeak, &shown.pofTotal, &shown.pifTotal,
                              &shown.jitterPeak, &shown.jitterAvg, &shown.jitterInst, &shown.piTotal, &shown.piAvg})
        *text = Cut(*text, kDisplayTextLength);
    context.displays = shown;
}

ScanControl::RangeRead ScanControl::ReadRange()
{
    ScanContext& context = m_context;
    range.llStartLba = range.llEndLba = context.state.m_llStartLba = context.state.m_llEndLba = 0;
    range.nStartLba = range.nEndLba = 0;
    WaitForUnitReady(30);
    const CapacityAnswer capacity = context.drive.reads.ReadCapacityAnswer();
    if (!capacity.ok) {
        range.strStartLba = range.strEndLba = "0";
        return RangeRead::Failed;
    }
    const std::uint32_t lastLba = capacity.lastLba;
    range.llEndLba = context.state.m_llEndLba = lastLba;
    if (lastLba == 0) {
        context.prompt.MessageBox("Error, media must be used before it can be scanned", "", MB_OK);
        context.g_bErrorTestRunning = 0;
        LockTray(false);
        OnStop();
        context.sink.SetStatus("Invalid media for command");
        return RangeRead::Blank;
    }
    range.nEndLba = static_cast<int>(lastLba);
    range.strStartLba = FormatLbaText(range.nStartLba);
    range.strEndLba = FormatLbaText(range.nEndLba);
    m_window.UpdateControls();
    return RangeRead::Set;
}

int ScanControl::ReadCapacityRange()
{
    return ReadRange() == RangeRead::Set ? 0 : 1;
}

void ScanControl::OnSetLba()
{
    const auto texts = m_window.RunRangeDialog(range.nStartLba, range.nEndLba);
    if (!texts || (texts->first.empty() && texts->second.empty()))
        return;
    SetRangeTexts(texts->first, texts->second);
}

void ScanControl::SetRangeTexts(const std::string& startText, const std::string& endText)
{
    range.strStartLba = startText;
    range.strEndLba = endText;
    ParseRangeTexts();
    m_window.UpdateControls();
}

void ScanControl::PrefillGraphs(std::int64_t startLba)
{
    ScanContext& context = m_context;
    WaitForUnitReady(20);
    std::array<std::uint8_t, kStructureLength> answer{};
    if (context.drive.reads.ReadDiscStructureNoCheck(0, 0, disc_structure::kPhysicalFormat, kStructureLength,
                                                     answer.data())
        != 0)
        return;
    if (startLba <= 0)
        return;
    const bool dualLayer = (answer[6] & 0x60) != 0;
    const std::uint64_t points = static_cast<std::uint64_t>(startLba)
        / (dualLayer ? kPrefillSectorsDualLayer : kPrefillSectorsSingleLayer);
    for (std::uint64_t point = 0; point < points; ++point) {
        if (context.m_pUpperGraph)
            context.m_pUpperGraph->AddPoint(0, 0);
        if (context.m_pLowerGraph)
            context.m_pLowerGraph->AddPoint(0, 0, 0);
    }
}

void ScanControl::SetupMedia(bool clearGraphs)
{
    ScanContext& context = m_context;
    OnStop();
    for (const Caption& caption : kPifCaptions)
        context.sink.SetCaption(caption.id, caption.text);
    m_window.ApplyDriveSetup(DetectScanDrive(context));
    context.sink.SetProgress(0);
    if (clearGraphs) {
        if (context.m_pUpperGraph)
            context.m_pUpperGraph->ClearGraph();
        if (context.m_pLowerGraph)
            context.m_pLowerGraph->ClearGraph();
    }
    context.state.m_nPIFPeak = 0;
    context.state.m_nPIPeak = 0;
    m_window.LoadColoursAndScales();
    context.media = ReadScanMediaInfo(context.drive, false).texts;
    ScanDisplayTexts& displays = context.displays;
    for (std::string* text : {&displays.piTotal, &displays.pifTotal, &displays.pifAvg, &displays.jitterPeak,
                              &displays.jitterAvg, &displays.piAvg, &displays.pifPeak, &displays.piPeak})
        *text = "---";
    context.sink.SetDisplays(displays);
    m_window.UpdateControls();
}

int ScanControl::WaitForUnitReady(int seconds)
{
    return ::WaitForUnitReady(m_context, seconds);
}

int ScanControl::LockTray(bool lock)
{
    return m_context.drive.mmc.PreventMediumRemoval(lock ? 1 : 0);
}

void ScanControl::OnEject()
{
    if (m_context.g_bErrorTestRunning == 1 || g_bSpeedTestRunning == 1 || g_bCreateIsoRunning == 1) {
        m_context.prompt.MessageBox("You must stop the test first", "Error Test Running!", MB_ICONEXCLAMATION);
        return;
    }
    m_context.drive.mmc.EjectOrCloseTray();
    LockTray(false);
}

bool ScanControl::OnClose()
{
    if (m_context.g_bErrorTestRunning == 1) {
        m_context.prompt.MessageBox("You must click 'Stop' first", "", MB_OK);
        return false;
    }
    JoinScanThread();
    m_context.drive.m_ScsiCommand.UnlockVolume();
    if (m_context.m_pUpperGraph)
        m_context.m_pUpperGraph->ClearGraph();
    if (m_context.m_pLowerGraph)
        m_context.m_pLowerGraph->ClearGraph();
    return true;
}

void ScanControl::OnDeviceChange(WPARAM event, const DeviceBroadcast& notice)
{
    if (m_context.g_bErrorTestRunning != 0 || notice.deviceType != DBT_DEVTYP_VOLUME || !(notice.flags & DBTF_MEDIA))
        return;
    if (event == DBT_DEVICEARRIVAL) {
        ReadCapacityRange();
    } else if (event == DBT_DEVICEREMOVECOMPLETE) {
        LockTray(false);
        RestoreNotification();
        range.nStartLba = range.nEndLba = 0;
        range.strStartLba = range.strEndLba = "0";
        m_window.UpdateControls();
    }
}

void ScanControl::OnDropFiles(const std::vector<std::string>& paths)
{
    LogEntry("Start OnDropFiles()");
    const std::vector<std::string> taken(paths.begin(), paths.begin() + std::min(paths.size(), kMostDroppedFiles));
    LogEntry("Got number of files dropped");
    for (const std::string& path : taken) {
        const std::string extension = ExtensionOf(path);
        LogEntry(path);
        LogEntry(extension);
        const std::string lower = LowerCase(extension);
        if (lower != ".qnz" && lower != ".qnzx") {
            m_context.prompt.MessageBox("Non-QNZ file, Quenzario only supports its own 'QNZ' or 'QNZX' files", "",
                                        MB_OK);
            return;
        }
    }
    LogEntry("Calling OnPiPo - OnDropFiles()");
    m_window.RefreshMedia();
    if (taken.size() == 1) {
        LogEntry("dropped 1, calling DoPiPO OnDropFiles()");
        m_window.LoadScan(taken[0]);
    } else if (taken.size() == 2) {
        m_window.SelectGraph(1);
        m_window.LoadScan(taken[0]);
        m_window.SelectGraph(2);
        m_window.LoadScan(taken[1]);
        m_window.SelectGraph(1);
    }
    LogEntry("End OnDropFiles()");
}
