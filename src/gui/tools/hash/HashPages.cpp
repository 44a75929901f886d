#include "gui/tools/hash/HashPages.h"

#include "core/base/BusyFlags.h"
#include "core/base/Format.h"
#include "core/base/LogFile.h"
#include "core/app/MainPages.h"
#include "core/app/MainLayout.h"
#include "core/drive/ChannelCoordinator.h"
#include "core/base/UserPrompt.h"
#include "core/tools/hash/MediaHash.h"
#include "gui/app/FileDialogs.h"
#include "gui/app/PageHost.h"
#include "gui/tools/hash/GetMD5LBAs.h"
#include "gui/ui/Dialog.h"
#include "gui/ui/TextProgressCtrl.h"

#include <chrono>
#include <climits>
#include <thread>

namespace {

constexpr COLORREF kRedBar = 255;

}  // namespace

CHashPages::CHashPages(PageHost& host) : m_host(host), m_dlg(host.Window()), m_events(host.MessageTarget())
{
}

CHashPages::~CHashPages()
{
    m_run.RequestStop();
    m_run.Join();
}

// ---- the pages' handlers ----

void CHashPages::ToolsItemChosen(int item)
{
    if (item == kToolsDiscMd5 || item == kToolsDiscSha1 || item == kToolsDiscSha2)
        SetUpDiscHashPage(item);
    else
        SetUpFileHashPage(item);
}

void CHashPages::DriveSelected(int page)
{
    // Another drive's disc: its whole range, not the previous disc's. A
    // running hash keeps its range and its report.
    if (page == kPageDiscHash && g_bMediaHashRunning == 0) {
        m_host.ClearReport();
        ReadDiscHashRange();
    }
}

void CHashPages::DiscArrived(int page)
{
    DriveSelected(page);
}

void CHashPages::DiscRemoved(int page)
{
    // A disc going leaves a running file hash's report alone.
    if (page == kPageDiscHash || !FileHashRunning())
        m_host.ClearReport();
}

void CHashPages::Hide()
{
    m_host.ShowPageButtons(false);
    for (int id : {IDC_PROGRESS, IDC_PROGRESS2})
        m_dlg.ShowDlgItem(id, false);
}

// Start is "File", Stop "Folder" on the file-hash page.
bool CHashPages::Start(int page)
{
    if (page == kPageDiscHash)
        OnStartDiscHash();
    else
        ComputeFileHash();
    return true;
}

bool CHashPages::Stop(int page)
{
    if (page == kPageDiscHash)
        StopDiscHash();
    else
        OnFolderButton();
    return true;
}

bool CHashPages::Save(int page)
{
    if (page != kPageDiscHash)
        return false;
    OnCustomRange();
    return true;
}

bool CHashPages::OnPageMessage(UINT message, WPARAM, LPARAM)
{
    if (message != WM_HASHPROGRESS && message != WM_HASHQUESTION && message != WM_HASHNOTICE && message != WM_HASHENDED)
        return false;
    OnHashMessage(message);
    return true;
}

// ---- page 16: the disc hash ----

void CHashPages::SetUpDiscHashPage(int item)
{
    m_host.ShowPage(kPageDiscHash);
    m_host.ClearReport();
    m_dlg.ShowDlgItem(IDC_PROGRESS2, true);
    m_dlg.ShowDlgItem(IDC_PROGRESS, false);
    m_host.PlaceDlgItem(IDC_PROGRESS2, kDiscHashProgress2Box);
    ClearProgressBars();
    m_host.PlaceDlgItem(IDC_START, kHashStartButton);
    m_host.PlaceDlgItem(IDC_STOP, kDiscHashStopButton);
    m_host.PlaceDlgItem(IDC_SAVE, kDiscHashCustomButton);
    m_host.SetPageButtonText(PageButton::Start, "Start");
    m_host.SetPageButtonText(PageButton::Save, "Custom");
    m_host.SetPageRunning(false);
    m_host.EnablePageButton(PageButton::Save, true);
    m_host.ShowPageButtons(true);
    m_host.ShowStatus("Click 'Start' to begin calculation");
    m_bHashSha1 = item >= kToolsDiscSha1 ? 1 : 0;
    m_bHashSha2 = item == kToolsDiscSha2 ? 1 : 0;
    ReadDiscHashRange();
}

void CHashPages::ClearProgressBars()
{
    // Nothing is hashed yet: no figure another page left in the bars stays.
    for (CTextProgressCtrl* bar : {&m_host.Progress(), &m_host.Progress2()}) {
        bar->SetFillColour(kRedBar);
        bar->SetRange(0, 100);
        bar->SetPos(0);
        bar->SetWindowText(std::string());
    }
}

void CHashPages::ReadDiscHashRange()
{
    m_host.RunDriveWork([this] { m_host.Core().SetUpDiscHashRange(); });
}

void CHashPages::OnStartDiscHash()
{
    if (m_bFileRunShown)
        return;
    // One operation at a time on the drive, until the hash has ended.
    const std::shared_ptr<ChannelClaim> claim = m_host.ClaimChannel(ChannelUse::MediaHash);
    if (!claim || !claim->Begin())
        return;
    ShowDiscRunning(true);
    m_host.Progress2().SetRange(0, 100);
    m_host.Progress2().SetPos(0);
    const HashChoice choice = HashChoice::FromOptions(m_bHashSha1, m_bHashSha2);
    const std::int64_t start = m_host.Core().m_nHashStartLba;
    const std::int64_t end = m_host.Core().m_nHashEndLba;
    // The whole run is drive work: nothing else uses the drive meanwhile.
    m_host.RunDriveWork(
        [this, claim, choice, start, end] {
            LogEntry("Start THREAD MediaHashThread()");
            m_events.BeginRun();
            MediaHash(m_host.Core().m_Drives, m_host.Core().m_Report, m_events, choice)
                .HashMedia(start, end, [&held = *claim] { return !held.StopRequested(); });
        },
        [this, claim] {
            claim->Release();
            ShowDiscRunning(false);
        });
}

void CHashPages::StopDiscHash()
{
    m_host.RequestStop(ChannelUse::MediaHash);
}

void CHashPages::ShowDiscRunning(bool running)
{
    m_host.SetPageRunning(running);
    m_host.EnablePageButton(PageButton::Save, !running);
    // The drive and the page stay as they are until the hash ends.
    m_host.EnableDriveLists(!running);
    m_host.ShowMainButtons(!running);
}

void CHashPages::OnCustomRange()
{
    if (g_bMediaHashRunning == 1)
        return;
    MainDialogCore& core = m_host.Core();
    CGetMD5LBAs range(&m_dlg);
    range.SetStartLBA(static_cast<int>(std::clamp<std::int64_t>(core.m_nHashStartLba, INT_MIN, INT_MAX)));
    range.SetEndLBA(static_cast<int>(std::clamp<std::int64_t>(core.m_nHashEndLba, INT_MIN, INT_MAX)));
    if (range.DoModal() != 0)
        return;
    core.m_nHashStartLba = range.GetStartLBA();
    core.m_nHashEndLba = range.GetEndLBA();
}

// ---- page 17: the file and folder hash ----

void CHashPages::SetUpFileHashPage(int item)
{
    // Files are hashed without the drive: it is let go.
    m_host.RunDriveWork([this] {
        CScsiCommand& channel = m_host.Core().m_Drives.m_ScsiCommand;
        channel.UnlockVolume();
        channel.DisableMCN(false);
        channel.CloseAssociateHandle();
    });
    m_host.ShowPage(kPageFileHash);
    m_host.ClearReport();
    m_host.PlaceDlgItem(IDC_PROGRESS2, kFileHashProgress2Box);
    m_host.PlaceDlgItem(IDC_PROGRESS, kFileHashProgressBox);
    ClearProgressBars();
    m_host.PlaceDlgItem(IDC_START, kHashStartButton);
    m_host.PlaceDlgItem(IDC_STOP, kFileHashFolderButton);
    m_host.SetPageButtonText(PageButton::Start, "File");
    m_host.SetPageButtonText(PageButton::Stop, "Folder");
    for (PageButton button : {PageButton::Start, PageButton::Stop}) {
        m_host.ShowPageButton(button, true);
        m_host.EnablePageButton(button, true);
    }
    m_host.ShowPageButton(PageButton::Save, false);
    m_host.ShowStatus("Click 'File' or 'Folder' to start");
    m_bHashSha1 = item >= kToolsFileSha1 ? 1 : 0;
    m_bHashSha2 = item == kToolsFileSha2 ? 1 : 0;
}

void CHashPages::ComputeFileHash()
{
    if (m_bFileRunShown || g_bMediaHashRunning == 1)
        return;
    m_host.Core().m_Report.ClearDisplayLines();
    // Files of every name: Linux names need no extension.
    const auto path = ShowOpenFileDialog(&m_dlg, "Please choose the file", "All Files (*)", "Last MD5 Directory", "");
    m_host.EnablePageButton(PageButton::Save, false);
    if (!path) {
        AfterFileHash();
        return;
    }
    // One file: the bar shows how much of it is read, as on the disc hash.
    m_dlg.ShowDlgItem(IDC_PROGRESS, false);
    m_host.Progress2().SetRange(0, 100);
    m_host.Progress2().SetPos(0);
    m_dlg.ShowDlgItem(IDC_PROGRESS2, true);
    StartFileRun([file = *path](FileHashEngine& engine, std::stop_token stop) {
        return engine.ComputeFileHash(file, std::move(stop));
    });
}

void CHashPages::OnFolderButton()
{
    if (m_bFileRunShown) {
        m_run.RequestStop();  // the button reads "Stop" while a hash runs
        return;
    }
    if (g_bMediaHashRunning == 1)
        return;
    m_host.Core().m_Report.ClearDisplayLines();
    for (CTextProgressCtrl* bar : {&m_host.Progress2(), &m_host.Progress()}) {
        bar->SetRange(0, 100);
        bar->SetPos(0);
    }
    const auto folder = BrowseForFolder(&m_dlg, "Please choose the start folder");
    m_host.EnablePageButton(PageButton::Save, false);
    if (!folder) {
        AfterFileHash();
        return;
    }
    m_dlg.ShowDlgItem(IDC_PROGRESS2, true);
    m_dlg.ShowDlgItem(IDC_PROGRESS, true);
    StartFileRun([folder = *folder](FileHashEngine& engine, std::stop_token stop) {
        LogEntry("Start THREAD FolderHashThread()");
        return engine.HashFolder(folder, std::move(stop));
    });
}

void CHashPages::StartFileRun(std::function<HashOutcome(FileHashEngine&, std::stop_token)> body)
{
    const HashChoice choice = HashChoice::FromOptions(m_bHashSha1, m_bHashSha2);
    ReportText& report = m_host.Core().m_Report;
    const MessageTargetPtr target = m_host.MessageTarget();
    const bool started = m_run.Start(
        [this, &report, choice, body = std::move(body)](std::stop_token stop) {
            m_events.BeginRun(stop);
            FileHashEngine engine(report, m_events, choice);
            body(engine, std::move(stop));
        },
        [target] { target->PostMessage(WM_HASHENDED); });
    if (started)
        ShowFileRunning(true);
}

void CHashPages::ShowFileRunning(bool running)
{
    m_bFileRunShown = running;
    m_host.EnablePageButton(PageButton::Start, !running);
    m_host.SetPageButtonText(PageButton::Stop, running ? "Stop" : "Folder");
    m_host.EnablePageButton(PageButton::Stop, true);
    m_host.EnableDriveLists(!running);
    m_host.ShowMainButtons(!running);
}

void CHashPages::AfterFileHash()
{
    m_host.SelectDrive();
    m_host.RunDriveWork([this] { m_host.Core().m_Drives.m_ScsiCommand.UnlockVolume(); });
}

// ---- what the runs tell ----

void CHashPages::OnHashMessage(UINT message)
{
    switch (message) {
    case WM_HASHPROGRESS: ShowProgress(); break;
    case WM_HASHQUESTION: AnswerQuestion(); break;
    case WM_HASHNOTICE: ShowNotices(); break;
    case WM_HASHENDED:
        m_run.Join();
        if (!m_bFileRunShown)
            break;
        ShowProgress();
        ShowFileRunning(false);
        AfterFileHash();
        break;
    default: break;
    }
}

void CHashPages::ShowProgress()
{
    const PostedHashEvents::Progress progress = m_events.TakeProgress();
    if (progress.filePercent) {
        m_host.Progress().SetPos(*progress.filePercent);
        m_host.Progress().SetWindowText(
            Format("File %d of %d is %d%% Complete", progress.filesHandled, progress.fileCount, *progress.filePercent));
    }
    if (progress.overallPercent)
        m_host.Progress2().SetPos(*progress.overallPercent);
}

void CHashPages::AnswerQuestion()
{
    if (!m_events.QuestionWaiting())
        return;
    const auto [path, reason] = m_events.QuestionFile();
    const int answer = AppMessageBox("Error opening a file, do you want to abort?\n\n" + path + "\n" + reason,
                                     "File open error", MB_YESNO | MB_ICONERROR);
    m_events.AnswerQuestion(answer == IDYES);
}

void CHashPages::ShowNotices()
{
    for (const std::string& notice : m_events.TakeNotices())
        AppMessageBox(notice);
}

void CHashPages::WaitForFileHash()
{
    while (m_bFileRunShown) {
        PumpPostedMessages();
        if (m_bFileRunShown)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    PumpPostedMessages();
}
