#include "core/app/BusyFlags.h"
#include "core/app/LogFile.h"
#include "core/app/MainWindowRules.h"
#include "core/app/UserPrompt.h"
#include "gui/app/QuenzaDlg.h"
#include "gui/graphs/IBGGraph.h"
#include "gui/ui/ButtonST.h"
#include "gui/ui/TextProgressCtrl.h"
#include "gui/ui/XPStyleButtonST.h"

#include <QComboBox>
#include <QSignalBlocker>

#include <algorithm>

namespace {

constexpr COLORREF kRedBar = 255;
constexpr int kPageButtonY = 526;
constexpr int kPageButtonWidth = 66;
constexpr int kPageButtonHeight = 23;

// The command buttons hidden as a group while a test runs.
constexpr int kMainButtons[] = {IDC_SETTINGS,  IDC_MEDIAINFO,   IDC_DRIVEINFO, IDC_COMPARE,
                                IDC_SPEEDTEST, IDC_GRAPHVIEWER, IDC_ERRORTEST, IDC_HDDTEST,
                                IDC_PIPO,      IDC_BOOKTYPE,    IDC_EJECT,     IDC_ERASE,
                                IDC_COPY,      IDC_SYSINFO,     IDC_SNAPSHOT,  IDC_SAVERAW};

}  // namespace

// ---- drive selection ----

void CQuenzaDlg::FillDeviceCombo()
{
    const QSignalBlocker quiet(m_cbDevices);
    m_cbDevices->clear();
    for (const std::string& entry : m_Core.m_Drives.DeviceComboEntries())
        m_cbDevices->addItem(QString::fromStdString(entry));
    m_cbDevices->setCurrentIndex(m_Core.m_Drives.GetDeviceComboSel());
}

void CQuenzaDlg::OnSelchangeDevicescombo()
{
    WhenDriveIdle([this] { SelectDrive(); });
}

void CQuenzaDlg::SelectDrive()
{
    DriveContext& drives = m_Core.m_Drives;
    drives.SetDeviceComboSel(m_cbDevices->currentIndex());
    switch (drives.OnSelchangeDevicescombo(m_bPiPoActive == 1)) {
    case SelectionOutcome::Selected: break;
    case SelectionOutcome::Refused: {
        // The list shows the drive that stays current.
        const auto& list = drives.m_DeviceList;
        const auto it = std::find_if(list.begin(), list.end(),
                                     [&](const auto& device) { return device.get() == drives.m_pCurrentDevice; });
        const QSignalBlocker quiet(m_cbDevices);
        m_cbDevices->setCurrentIndex(it == list.end() ? -1 : static_cast<int>(it - list.begin()));
        break;
    }
    case SelectionOutcome::Fatal: EndDialog(0); break;
    }
}

void CQuenzaDlg::OnDeviceSelected()
{
    const CDevice* device = m_Core.m_Drives.m_pCurrentDevice;
    m_strInfo[IDC_MODEL] = device ? device->m_strIdentity : std::string();
    SetDlgItemText(IDC_MODEL, m_strInfo[IDC_MODEL]);
    auto facts = std::make_shared<SelectionFacts>();
    RunDriveWork([this, facts] { *facts = m_Core.InterrogateSelectedDrive(); },
                 [this, facts] {
                     SetDlgItemText(IDC_MEDIATYPE, facts->mediaTypeName);
                     if (!facts->mediaPresent) {
                         m_strInfo[IDC_MEDIAID].clear();
                         SetDlgItemText(IDC_MEDIAID, "");
                     }
                     ShowNotice(facts->notice);
                     RefreshPageAfterSelection();
                 });
}

void CQuenzaDlg::RefreshPageAfterSelection()
{
    switch (m_nCurrentPage) {
    case kPageDriveInfo: OnDriveinfo(); break;
    case kPageModePages: ListDriveModePages(); break;
    case kPageFeatures: ListDriveFeaturesProfiles(); break;
    default: break;  // the other pages read the drive themselves when they come
    }
}

void CQuenzaDlg::ShowNotice(const WrapperNotice& notice)
{
    if (!notice.status.empty())
        ShowStatus(notice.status);
    if (!notice.messageBox.empty())
        AppMessageBox(notice.messageBox);
}

bool CQuenzaDlg::RefuseWhileTesting(bool withScanWindow, bool withCreateIso)
{
    if (g_bErrorTestRunning == 1 || g_bSpeedTestRunning == 1 || (withCreateIso && g_bCreateIsoRunning == 1)
        || (withScanWindow && m_bPiPoActive == 1)) {
        AppMessageBox("You must stop the test first", "Error Test Running!", MB_OK | MB_ICONEXCLAMATION);
        return true;
    }
    return false;
}

void CQuenzaDlg::NotAvailableYet(const std::string& what)
{
    AppMessageBox(what + " is not available in this version of Quenzario.", "Quenzario", MB_OK | MB_ICONINFORMATION);
}

// ---- drive information ----

void CQuenzaDlg::OnDriveinfo()
{
    m_nCurrentPage = kPageDriveInfo;
    if (RefuseWhileTesting(true))
        return;
    ClearDriveInfoFields();
    auto facts = std::make_shared<DriveInfoFacts>();
    RunDriveWork([this, facts] { *facts = m_Core.InterrogateDriveInfo(); },
                 [this, facts] { DisplayDriveInfo(*facts); });
}

void CQuenzaDlg::ClearDriveInfoFields()
{
    // The record's flags are cleared by the interrogation that follows, on
    // the drive thread.
    for (const DriveInfoField& field : DriveInfoFields())
        m_strInfo[field.id].clear();
    UpdateData(false);
}

void CQuenzaDlg::DisplayDriveInfo(const DriveInfoFacts& facts)
{
    ShowNotice(facts.notice);
    ShowDriveInfoPage(true);
    for (const auto& [id, text] : facts.page.texts)
        m_strInfo[id] = text;
    for (const auto& [id, ticked] : facts.page.boxes)
        if (auto* box = Item<CButtonST>(id))
            box->SetCheckState(ticked);
    UpdateData(false);
}

void CQuenzaDlg::DoDataExchange(CDataExchange& dx)
{
    for (const DriveInfoField& field : DriveInfoFields())
        DDX_Text(dx, field.id, m_strInfo[field.id]);
    DDX_Text(dx, IDC_MEDIAID, m_strInfo[IDC_MEDIAID]);
}

void CQuenzaDlg::OnRefresh()
{
    if (m_nCurrentPage != kPageDriveInfo)
        return;
    WhenDriveIdle([this] {
        if (CDevice* device = m_Core.m_Drives.m_pCurrentDevice) {
            device->m_bDriveInfoRead = 0;
            OnDriveinfo();
        }
    });
}

void CQuenzaDlg::ListDriveFeaturesProfiles()
{
    m_nCurrentPage = kPageFeatures;
    ShowListOutput(true);
    RunDriveWork([this] { m_Core.ListDriveFeaturesProfiles(); });
}

void CQuenzaDlg::ListDriveModePages()
{
    m_nCurrentPage = kPageModePages;
    ShowListOutput(true);
    RunDriveWork([this] { m_Core.ListDriveModePages(); });
}

// ---- pages ----

void CQuenzaDlg::ShowDriveInfoPage(bool show)
{
    if (show) {
        m_nCurrentPage = kPageDriveInfo;
        ShowDlgItem(IDC_OUTPUT, false);
        ShowListOutput(false);
        ShowTextPageControls();
        MoveDlgItem(IDC_MODEL, 537, 89, 195, 16);
    }
    for (QWidget* widget : m_driveInfoPage)
        widget->setVisible(show);
}

void CQuenzaDlg::ShowListOutput(bool show)
{
    ShowDlgItem(IDC_OUTPUT, show);
    if (!show)
        return;
    ShowDriveInfoPage(false);
    ShowTextPageControls();
}

void CQuenzaDlg::ShowTextPageControls()
{
    // The page buttons and progress bars belong to the test pages.
    for (int id : {IDC_START, IDC_STOP, IDC_SAVE, IDC_PROGRESS, IDC_PROGRESS2})
        ShowDlgItem(id, false);
    ShowComboBoxes();
}

void CQuenzaDlg::ShowComboBoxes()
{
    ShowDlgItem(IDC_TOOLS, true);
    ShowDlgItem(IDC_DEVICES, true);
}

void CQuenzaDlg::ShowInfoDisplay(bool show)
{
    ShowDlgItem(IDC_OUTPUT, show);
    if (!show) {
        GetDlgItem(IDC_OUTPUT)->resize(677, 390);
        return;
    }
    m_nCurrentPage = kPageInfoDisplay;
    ShowDriveInfoPage(false);
    ShowComboBoxes();
}

void CQuenzaDlg::ShowInfoDisplayWithProgress(bool show)
{
    for (int id : {IDC_OUTPUT, IDC_PROGRESS2, IDC_PROGRESS})
        ShowDlgItem(id, show);
    if (!show)
        return;
    GetDlgItem(IDC_OUTPUT)->resize(677, 370);
    ShowDriveInfoPage(false);
    ShowComboBoxes();
}

void CQuenzaDlg::ShowMainButtons(bool show)
{
    for (int id : kMainButtons)
        ShowDlgItem(id, show);
}

// ---- Tools & Utilities ----

void CQuenzaDlg::OnSelchangeToolscombo()
{
    const int item = m_cbTools->currentIndex();
    LogEntryF("Tools & Utilities item selected, item number %d", item);
    if (item == 0)
        return;
    UpdateData(false);
    LogEntry("Calling DoReadStruct()");
    DoReadstruct();
}

int CQuenzaDlg::DoReadstruct()
{
    LogEntry("Start DoReadstruct() function");
    ShowStatus("Ready");
    const int item = m_cbTools->currentIndex();
    switch (item) {
    case 0: AppMessageBox("You chose a heading,  please choose another item"); break;
    case 1: NotAvailableYet("The flash drive test"); break;
    case 2: NotAvailableYet("Reading the burn information"); break;
    case 3:
    case 5:
    case 7: SetUpDiscHashPage(item); break;
    case 4:
    case 6:
    case 8: SetUpFileHashPage(item); break;
    case 9: NotAvailableYet("The complete media code"); break;
    case 10: NotAvailableYet("The sector viewer"); break;
    case 11: NotAvailableYet("The sector editor"); break;
    case 12: ListDriveFeaturesProfiles(); break;
    case 13: ListDriveModePages(); break;
    case 14: NotAvailableYet("DC erase"); break;
    case 15: NotAvailableYet("The custom command window"); break;
    default: break;
    }
    if (item == 0 || item == 11 || item == 14 || item < 0 || item >= kToolsItemCount)
        LogEntry("End DoReadstruct()");
    return item == 2 ? 3 : 0;
}

void CQuenzaDlg::SetUpDiscHashPage(int item)
{
    m_nCurrentPage = kPageDiscHash;
    ShowInfoDisplayWithProgress(true);
    m_Core.m_Report.ClearDisplay();
    ShowDlgItem(IDC_PROGRESS2, true);
    ShowDlgItem(IDC_PROGRESS, false);
    MoveDlgItem(IDC_PROGRESS2, 39, 436, 676, 28);
    m_Progress2->SetFillColour(kRedBar);
    MoveDlgItem(IDC_START, 492, kPageButtonY, kPageButtonWidth, kPageButtonHeight);
    MoveDlgItem(IDC_STOP, 560, kPageButtonY, kPageButtonWidth, kPageButtonHeight);
    MoveDlgItem(IDC_SAVE, 628, kPageButtonY, kPageButtonWidth, kPageButtonHeight);
    SetDlgItemText(IDC_START, "Start");
    SetDlgItemText(IDC_SAVE, "Custom");
    EnableDlgItem(IDC_START, true);
    EnableDlgItem(IDC_STOP, false);
    EnableDlgItem(IDC_SAVE, true);
    for (int id : {IDC_START, IDC_STOP, IDC_SAVE})
        ShowDlgItem(id, true);
    ShowStatus("Click 'Start' to begin calculation");
    m_bHashSha1 = item >= 5 ? 1 : 0;
    m_bHashSha2 = item == 7 ? 1 : 0;
    RunDriveWork([this] { m_Core.SetUpDiscHashRange(); });
}

void CQuenzaDlg::SetUpFileHashPage(int item)
{
    // Files are hashed without the drive: it is let go.
    RunDriveWork([this] {
        CScsiCommand& channel = m_Core.m_Drives.m_ScsiCommand;
        channel.UnlockVolume();
        channel.DisableMCN(false);
        channel.CloseAssociateHandle();
    });
    m_nCurrentPage = kPageFileHash;
    ShowInfoDisplayWithProgress(true);
    m_Core.m_Report.ClearDisplay();
    MoveDlgItem(IDC_PROGRESS2, 39, 442, 676, 22);
    MoveDlgItem(IDC_PROGRESS, 39, 465, 676, 22);
    m_Progress->SetFillColour(kRedBar);
    m_Progress2->SetFillColour(kRedBar);
    MoveDlgItem(IDC_START, 492, kPageButtonY, kPageButtonWidth, kPageButtonHeight);
    MoveDlgItem(IDC_STOP, 559, kPageButtonY, kPageButtonWidth, kPageButtonHeight);
    SetDlgItemText(IDC_START, "File");
    SetDlgItemText(IDC_STOP, "Folder");
    for (int id : {IDC_START, IDC_STOP}) {
        ShowDlgItem(id, true);
        EnableDlgItem(id, true);
    }
    ShowDlgItem(IDC_SAVE, false);
    ShowStatus("Click 'File' or 'Folder' to start");
    m_bHashSha1 = item >= 6 ? 1 : 0;
    m_bHashSha2 = item == 8 ? 1 : 0;
}

// ---- page buttons and the commands of later tools ----

void CQuenzaDlg::OnStart()
{
    switch (m_nCurrentPage) {
    case kPageFileHash: NotAvailableYet("Hashing a file"); break;
    case kPageDiscHash: NotAvailableYet("Hashing a disc"); break;
    case kPageErrorTest: NotAvailableYet("The read error test"); break;
    case kPageCompare: NotAvailableYet("The compare"); break;
    default: NotAvailableYet("The read speed test"); break;
    }
}

void CQuenzaDlg::OnStop()
{
    switch (m_nCurrentPage) {
    case kPageErrorTest:
        ShowStatus("Stopping...");
        EndErrorTestUi();
        ShowStatus("Ready");
        EnableDlgItem(IDC_SAVE, true);
        break;
    case kPageCompare: EndCompareUi(); break;
    case kPageCreateIso: EndCreateIsoUi(); break;
    case kPageDiscHash:
        g_bMediaHashRunning = 0;
        EnableDlgItem(IDC_START, true);
        EnableDlgItem(IDC_STOP, false);
        EnableDlgItem(IDC_SAVE, true);
        ShowMainButtons(true);
        break;
    case kPageFileHash: NotAvailableYet("Hashing a folder"); break;  // Stop is "Folder" here
    default:  // the speed test
        RunDriveWork([this] { m_Core.m_Drives.PreventMediumRemoval(0); });
        g_bSpeedTestRunning = 0;
        RestorePageButtons(true);
        break;
    }
}

void CQuenzaDlg::EndErrorTestUi()
{
    g_bErrorTestRunning = 0;
    RestorePageButtons(true);
    UpdateData(false);
}

void CQuenzaDlg::EndCreateIsoUi()
{
    g_bCreateIsoRunning = 0;
    RestorePageButtons(true);
    EnableDlgItem(IDC_SAVE, true);
    m_nCurrentPage = kPageCompare;
    UpdateData(false);
}

void CQuenzaDlg::EndCompareUi()
{
    g_bCompareRunning = 0;
    RestorePageButtons(false);
    UpdateData(false);
}

void CQuenzaDlg::RestorePageButtons(bool toolsToo)
{
    EnableDlgItem(IDC_DEVICES, true);
    if (toolsToo)
        EnableDlgItem(IDC_TOOLS, true);
    EnableDlgItem(IDC_START, true);
    EnableDlgItem(IDC_STOP, false);
}

void CQuenzaDlg::OnSave()
{
    NotAvailableYet(m_nCurrentPage == kPageDiscHash ? "A custom block range" : "Saving a read error list");
}

void CQuenzaDlg::OnSettings()
{
    if (RefuseWhileTesting(true, false))
        return;
    LogEntry("Settings option clicked");
    NotAvailableYet("The settings dialog");
}

void CQuenzaDlg::OnPiPoScan()
{
    if (m_bPiPoActive == 1)
        return;  // the scan window is in front already
    if (RefuseWhileTesting(false))
        return;
    NotAvailableYet("The PI/PO scan");
}

void CQuenzaDlg::OnGraphFileViewer()
{
    if (RefuseWhileTesting(false))
        return;
    CIBGGraph viewer(this);
    // A command-line file is opened once.
    viewer.m_strFileName = m_strCmdLine1;
    m_strCmdLine1.clear();
    viewer.m_HomePage = [this] { OnHomePage(); };
    viewer.DoModal();
}
