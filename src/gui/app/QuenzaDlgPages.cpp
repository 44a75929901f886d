#include "core/base/BusyFlags.h"
#include "core/base/LogFile.h"
#include "core/app/MainLayout.h"
#include "core/app/MainPages.h"
#include "core/app/MainWindowRules.h"
#include "core/base/UserPrompt.h"
#include "gui/app/QuenzaDlg.h"
#include "gui/graphs/IBGGraph.h"
#include "gui/info/DriveInformationPage.h"
#include "gui/pipo/PiPo.h"
#include "gui/ui/TextProgressCtrl.h"
#include "gui/ui/XPStyleButtonST.h"

#include <QComboBox>
#include <QSignalBlocker>

#include <algorithm>

namespace {

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
    for (const std::string& entry : m_Core.m_Drives.list.DeviceComboEntries())
        m_cbDevices->addItem(QString::fromStdString(entry));
    m_cbDevices->setCurrentIndex(m_Core.m_Drives.list.GetDeviceComboSel());
}

void CQuenzaDlg::OnSelchangeDevicescombo()
{
    WhenDriveIdle([this] {
        // An operation still giving the drive back keeps it current until
        // its worker has ended.
        if (m_Core.m_Drives.coordinator.InUse() && m_ToolJobs.Busy()) {
            m_ToolJobs.Run({}, [this] { OnSelchangeDevicescombo(); });
            return;
        }
        SelectListedDrive();
    });
}

void CQuenzaDlg::SelectListedDrive()
{
    DriveContext& drives = m_Core.m_Drives;
    drives.list.SetDeviceComboSel(m_cbDevices->currentIndex());
    const SelectionResult selection = drives.list.OnSelchangeDevicescombo(m_bPiPoActive == 1);
    ShowDriveListMessages(selection.messages);
    switch (selection.outcome) {
    case SelectionOutcome::Selected: break;
    case SelectionOutcome::Refused: {
        // The list shows the drive that stays current.
        const auto& list = drives.list.m_DeviceList;
        const auto it = std::find_if(list.begin(), list.end(),
                                     [&](const auto& device) { return device.get() == drives.list.m_pCurrentDevice; });
        const QSignalBlocker quiet(m_cbDevices);
        m_cbDevices->setCurrentIndex(it == list.end() ? -1 : static_cast<int>(it - list.begin()));
        break;
    }
    case SelectionOutcome::Fatal: EndDialog(0); break;
    }
}

void CQuenzaDlg::OnDeviceSelected()
{
    const CDevice* device = m_Core.m_Drives.list.m_pCurrentDevice;
    m_strInfo[IDC_MODEL] = device ? device->m_strIdentity : std::string();
    SetDlgItemText(IDC_MODEL, m_strInfo[IDC_MODEL]);
    auto facts = std::make_shared<SelectionFacts>();
    RunDriveWork([this, facts] { *facts = m_Core.InterrogateSelectedDrive(); },
                 [this, facts] {
                     SetDlgItemText(IDC_MEDIATYPE, facts->mediaTypeName);
                     m_strInfo[IDC_MEDIAID] = facts->mediaId;
                     SetDlgItemText(IDC_MEDIAID, facts->mediaId);
                     ShowNotice(facts->notice);
                     RefreshPageAfterSelection();
                 });
}

void CQuenzaDlg::RefreshPageAfterSelection()
{
    // A page shown over the drive's fields (the media pages) leaves them in
    // view: they are read again too. The other pages read the drive
    // themselves when they come.
    if (m_nCurrentPage != kPageDriveInfo)
        if (DriveInformationPage* info = m_Pages.Find<DriveInformationPage>(); info && info->ControlsInView())
            info->DriveSelected(m_nCurrentPage);
    if (MainWindowPage* page = PageFor(m_nCurrentPage))
        page->DriveSelected(m_nCurrentPage);
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

// ---- the views the pages share ----

void CQuenzaDlg::DoDataExchange(CDataExchange& dx)
{
    for (const DriveInfoField& field : DriveInfoFields())
        DDX_Text(dx, field.id, m_strInfo[field.id]);
    DDX_Text(dx, IDC_MEDIAID, m_strInfo[IDC_MEDIAID]);
    for (const auto& page : m_Pages.All())
        page->DoDataExchange(dx);
}

void CQuenzaDlg::ShowDriveInfoPage(bool show)
{
    // Every view hides the pages' own controls; a page shows its own after.
    for (const auto& page : m_Pages.All())
        page->Hide();
    if (show) {
        m_nCurrentPage = kPageDriveInfo;
        ShowDlgItem(IDC_OUTPUT, false);
        ShowListOutput(false);
        ShowTextPageControls();
        PlaceDlgItem(IDC_MODEL, kModelField);
    }
    if (DriveInformationPage* info = m_Pages.Find<DriveInformationPage>())
        info->ShowControls(show);
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
        ResizeDlgItem(IDC_OUTPUT, kOutputBoxSize);
        return;
    }
    m_nCurrentPage = kPageInfoDisplay;
    ShowDriveInfoPage(false);
    ShowComboBoxes();
}

void CQuenzaDlg::ShowInfoDisplayWithProgress(bool show)
{
    // The other pages' controls go first: the progress bars are theirs too.
    if (show)
        ShowDriveInfoPage(false);
    for (int id : {IDC_OUTPUT, IDC_PROGRESS2, IDC_PROGRESS})
        ShowDlgItem(id, show);
    if (!show)
        return;
    ResizeDlgItem(IDC_OUTPUT, kShortOutputBoxSize);
    ShowComboBoxes();
}

void CQuenzaDlg::ShowMainButtons(bool show)
{
    for (int id : kMainButtons)
        ShowDlgItem(id, show);
}

void CQuenzaDlg::RestorePageButtons(bool toolsToo)
{
    EnableDlgItem(IDC_DEVICES, true);
    if (toolsToo)
        EnableDlgItem(IDC_TOOLS, true);
    SetPageRunning(false);
}

void CQuenzaDlg::EnablePageButton(PageButton button, bool enable)
{
    EnableDlgItem(PageButtonId(button), enable);
}

void CQuenzaDlg::OnPiPoScan()
{
    if (m_bPiPoActive == 1) {
        if (m_pPiPo != nullptr) {
            m_pPiPo->raise();
            m_pPiPo->activateWindow();
        }
        return;
    }
    if (RefuseWhileTesting(false))
        return;
    m_bPiPoActive = 1;
    ShowStatus("Initialising PIPO...Please Wait...");
    {
        CPiPo window(ScanWindowHost{&m_Core.m_Drives, &m_strCmdLine1, &m_strCmdLine2}, this);
        m_pPiPo = &window;
        window.DoModal();
        m_pPiPo = nullptr;
    }
    m_bPiPoActive = 0;
    ShowStatus("Ready");
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
