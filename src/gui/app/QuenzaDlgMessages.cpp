#include "core/app/TestPageControls.h"
#include "core/base/AppProfile.h"
#include "core/base/BusyFlags.h"
#include "core/app/DeviceBroadcast.h"
#include "core/base/LogFile.h"
#include "core/base/UserPrompt.h"
#include "gui/app/QuenzaDlg.h"
#include "gui/pipo/PiPo.h"
#include "gui/tools/settings/AssociationPrompt.h"
#include "gui/tools/testpage/TestResultsList.h"
#include "gui/ui/Beep.h"
#include "gui/ui/MatrixStatic.h"
#include "gui/ui/MyEdit.h"
#include "gui/ui/TextProgressCtrl.h"

#include <QComboBox>
#include <QKeyEvent>

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace {

constexpr int kRescanRetryMs = 1000;

std::string LowerExtension(const std::string& path)
{
    std::string extension = std::filesystem::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

}  // namespace

LRESULT CQuenzaDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_DEVICECHANGE: OnDeviceChange(wParam, lParam); return 1;
    case WM_DRIVEWORKDONE: m_DriveJobs.RunCompletions(); return 0;
    case WM_REPORTCHANGED: OnReportChanged(wParam); return 0;
    case WM_TOOLWORKDONE: m_ToolJobs.RunCompletions(); return 0;
    case WM_TESTPAGECHANGED: ApplyTestPageChanges(); return 0;
    case WM_TESTENDED:
        // A test's end runs the current page's Stop; on a page without one
        // the test that ended is the read speed test.
        RunPageCommand(&PageRow::stop, &MainWindowPage::Stop, kPageSpeedTest);
        break;
    case WM_SYSCOMMAND:
        if (wParam == SC_MINIMIZE) {
            m_Presence.HideToStatusArea();
            return 0;
        }
        break;
    default:
        // A page's own messages (a worker's end, a tool window's request)
        // go to the current page or the page that takes them.
        if (m_Pages.Deliver(m_nCurrentPage, message, wParam, lParam))
            return 0;
        break;
    }
    return CDialog::WindowProc(message, wParam, lParam);
}

void CQuenzaDlg::OnTimer(int id)
{
    // The start minimised, update and balloon timers are theirs.
    if (m_Presence.OnTimer(id) || m_Updates.OnTimer(id))
        return;
    switch (id) {
    case STARTUP_TIMER: StartupStep(); break;
    case RESCAN_TIMER:
        if (!AnyBusyFlagSet() && m_bPiPoActive == 0 && !m_Core.m_Drives.coordinator.InUse()) {
            KillTimer(RESCAN_TIMER);
            RescanDrives();
        }
        break;
    default: break;
    }
}

bool CQuenzaDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && PreTranslateKey(static_cast<QKeyEvent*>(event)))
        return true;
    return CDialog::eventFilter(watched, event);
}

void CQuenzaDlg::keyPressEvent(QKeyEvent* event)
{
    if (!PreTranslateKey(event))
        CDialog::keyPressEvent(event);
}

bool CQuenzaDlg::PreTranslateKey(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        return true;  // Enter never ends the window
    if (event->key() == Qt::Key_F1 && !(event->modifiers() & Qt::ShiftModifier)) {
        OnHelp();
        return true;
    }
    return false;
}

void CQuenzaDlg::OnReportChanged(WPARAM change)
{
    if (change == static_cast<WPARAM>(ReportChange::Status))
        m_MatrixStatus->SetText(m_Core.m_Report.GetStatusDisplay());
    else
        m_edOutput->setPlainText(QString::fromStdString(m_Core.m_Report.GetDisplayText()));
}

void CQuenzaDlg::OnDeviceChange(WPARAM event, LPARAM lParam)
{
    const std::optional<DeviceBroadcast> notice = TakeDeviceBroadcast(lParam);
    if (event != DBT_DEVICEARRIVAL && event != DBT_DEVICEREMOVECOMPLETE)
        return;
    if (!notice || notice->deviceType != DBT_DEVTYP_VOLUME)
        return;
    if (m_pPiPo != nullptr)
        m_pPiPo->OnDeviceChange(event, *notice);
    for (const auto& page : m_Pages.All())
        page->DeviceChanged(event, *notice);
    if (!(notice->flags & DBTF_MEDIA)) {
        RescanDrives();
        return;
    }
    const CDevice* current = m_Core.m_Drives.list.m_pCurrentDevice;
    const bool currentDrive = current && current->m_strDriveText == notice->driveText;
    if (event == DBT_DEVICEARRIVAL)
        OnMediaArrival(currentDrive);
    else if (currentDrive)
        OnMediaRemoval();
}

void CQuenzaDlg::OnMediaArrival(bool currentDrive)
{
    auto name = std::make_shared<std::string>();
    auto id = std::make_shared<std::string>();
    RunDriveWork(
        [this, name, id] {
            if (m_Core.m_Drives.media.GetMediaIDString(*id) != 1)
                id->clear();
            m_Core.m_Drives.media.GetMediaTypeName(*name);
        },
        [this, name, id, currentDrive] {
            m_strInfo[IDC_MEDIAID] = *id;
            SetDlgItemText(IDC_MEDIAID, *id);
            SetDlgItemText(IDC_MEDIATYPE, *name);
            if (!currentDrive)
                return;
            // The other pages read their disc themselves.
            if (MainWindowPage* page = PageFor(m_nCurrentPage))
                page->DiscArrived(m_nCurrentPage);
        });
}

void CQuenzaDlg::OnMediaRemoval()
{
    m_strInfo[IDC_MEDIAID].clear();
    SetDlgItemText(IDC_MEDIAID, "");
    SetDlgItemText(IDC_MEDIATYPE, "");
    if (MainWindowPage* page = PageFor(m_nCurrentPage))
        page->DiscRemoved(m_nCurrentPage);
}

void CQuenzaDlg::ApplyTestPageChanges()
{
    TestPageState::Changes changes = m_TestPage.TakeChanges();
    for (const auto& [id, text] : changes.texts) {
        if (!GetDlgItem(id))
            continue;
        if (id == IDC_MEDIAID)
            m_strInfo[IDC_MEDIAID] = text;
        SetDlgItemText(id, text);
    }
    for (const auto& [id, enable] : changes.enabled) {
        if (const std::optional<PageButton> button = PageButtonOf(id))
            EnablePageButton(*button, enable);
        else if (GetDlgItem(id))
            EnableDlgItem(id, enable);
    }
    if (changes.progress)
        m_Progress2->SetPos(*changes.progress);
    auto* results = Item<TestResultsList>(testpage::kResults);
    if (results && changes.list)
        results->Follow(*changes.list);  // one insertion for all the lines that came
}

void CQuenzaDlg::RescanDrives()
{
    // The drive records are freed by a rescan: while an operation may use
    // them it waits, and the timer tries again.
    if (AnyBusyFlagSet() || m_bPiPoActive == 1 || m_Core.m_Drives.coordinator.InUse()) {
        if (!m_bRescanPending)
            LogEntry("Drive rescan waits for the running operation");
        m_bRescanPending = true;
        SetTimer(RESCAN_TIMER, kRescanRetryMs);
        return;
    }
    m_bRescanPending = false;
    WhenDriveIdle([this] { RescanNow(); });
}

void CQuenzaDlg::RescanNow()
{
    ShowStatus("Rescanning drives...");
    EnableDlgItem(IDC_DEVICES, false);
    m_cbDevices->clear();
    ShowDriveListMessages(m_Core.m_Drives.list.RebuildDeviceList().messages);
    FillDeviceCombo();
    SelectListedDrive();
    EnableDlgItem(IDC_DEVICES, true);
    ShowStatus("Ready");
}

void CQuenzaDlg::StartupStep()
{
    LogEntry("STARTUP THREAD BEGIN");
    KillTimer(STARTUP_TIMER);
    update();
    RunDriveWork([this] { m_Core.m_Drives.mmc.WaitForUnitReady(5); },
                 [this] {
                     OfferFileAssociationRepair(this);
                     OpenPage(kPageDriveInfo);
                     // After the drive information is shown.
                     WhenDriveIdle([this] {
                         OpenCommandLineFile();
                         m_Updates.CheckForNews();
                         LogEntry("STARTUP THREAD END");
                     });
                 });
}

void CQuenzaDlg::OpenCommandLineFile()
{
    if (m_strCmdLine1.empty())
        return;
    const std::string extension = LowerExtension(m_strCmdLine1.substr(0, 4 * 256));
    if (extension == ".qnz" || extension == ".qnzx")
        OnPiPoScan();
    else if (extension == ".ibg" || extension == ".mbg")
        OnGraphFileViewer();
    else
        AppMessageBox("Unknown file type");
}
