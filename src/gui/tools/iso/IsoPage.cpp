#include "gui/tools/iso/IsoPage.h"

#include "core/app/MainPages.h"
#include "core/base/BusyFlags.h"
#include "core/base/LogFile.h"
#include "core/app/MainLayout.h"
#include "core/app/TestPageControls.h"
#include "core/tools/iso/CompareStart.h"
#include "core/tools/iso/DiscCompare.h"
#include "core/tools/iso/DiscWalk.h"
#include "core/tools/iso/DriveBlockReader.h"
#include "core/tools/iso/FolderCompare.h"
#include "core/tools/iso/IsoCreation.h"
#include "core/tools/testpage/PageEvents.h"
#include "gui/app/FileDialogs.h"
#include "gui/graphs/GraphStatic.h"
#include "gui/ui/Beep.h"
#include "gui/ui/Dialog.h"
#include "platform/devices/MountRoots.h"
#include "platform/files/StagedFile.h"

namespace {

using namespace testpage;

constexpr const char* kReadErrorsHeading = "                         Read Errors";
constexpr const char* kIsoFilter = "ISO Files (*.iso *.nrg *.img);;All Files (*)";
constexpr UiRect kResultsBox = BoxAt(494, 270, 237, 98);
constexpr UiRect kIsoSaveButton = BoxAt(573, 389, 66, 23);
constexpr UiRect kIsoStopButton = BoxAt(642, 389, 66, 23);
constexpr UiRect kIsoProgress2Box = BoxAt(513, 433, 207, 16);
constexpr int kIsoRowLabelX = 507;
constexpr int kIsoRowFieldX = 612;
constexpr int kIsoRowFieldWidth = 118;

// The ISO page's fields: those of the disc and the copy.
const std::vector<int> kIsoPageControls = {
    kGroupBox,     kResults,      kGraph,          kIsoRadio,       kVideoRadio,      kFolderRadio,
    kLabelMediaId, kFieldMediaId, kLabelMediaType, kFieldMediaType, kLabelLength,     kFieldLength,
    kLabelRead,    kFieldRead,    kLabelRemaining, kFieldRemaining, kLabelReadErrors, kFieldReadErrors};

}  // namespace

IsoPage::IsoPage(PageHost& host) : TestPage(host)
{
    m_dlg.MapCommand(kIsoRadio, [this] { OnCompareIsoRadio(); });
    m_dlg.MapCommand(kVideoRadio, [this] { OnCompareVideoRadio(); });
}

void IsoPage::Show(int)
{
    OnISOPage();
}

void IsoPage::DriveSelected(int page)
{
    // The previous drive's results are not this drive's.
    if (page == kPageCompare)
        OnISOPage();
}

void IsoPage::DiscArrived(int page)
{
    if (page == kPageCompare && !m_host.DriveHeld())
        SetupISOPage(true);
}

void IsoPage::DiscRemoved(int page)
{
    if (page == kPageCompare && g_bCompareRunning == 1)
        EndCompareUi();
    else if (page == kPageCreateIso && g_bCreateIsoRunning == 1)
        EndCreateIsoUi();
}

bool IsoPage::Start(int page)
{
    if (page != kPageCompare)
        return false;
    StartCompare();
    return true;
}

bool IsoPage::Stop(int page)
{
    if (page == kPageCreateIso)
        EndCreateIsoUi();
    else
        EndCompareUi();
    return true;
}

bool IsoPage::Save(int page)
{
    if (page != kPageCompare)
        return false;
    StartCreateIso();
    return true;
}

bool IsoPage::OnPageMessage(UINT message, WPARAM, LPARAM)
{
    if (message != WM_COMPAREENDED)
        return false;
    EndCompareUi();
    return true;
}

void IsoPage::OnISOPage()
{
    if (g_bCompareRunning == 1)
        return;
    if (m_host.RefuseWhileTesting(true) || m_host.DriveHeld())
        return;
    ShowISOPage(true);
    m_host.Events().ResetList(kReadErrorsHeading);
    SetupISOPage(true);
    m_dlg.SetDlgItemText(kGroupBox, "CD / DVD ISO Compare / Create");
    m_host.PlaceDlgItem(kGroupBox, BoxAt(487, 70, 250, 355));
    m_host.SetPageButtonText(PageButton::Save, "Create");
    m_host.SetPageButtonText(PageButton::Stop, "Stop");
    m_host.PlaceDlgItem(IDC_SAVE, kIsoSaveButton);
    m_host.PlaceDlgItem(IDC_STOP, kIsoStopButton);
    m_dlg.ShowDlgItem(IDC_PROGRESS2, true);
    m_host.ApplyTestPageChanges();
}

void IsoPage::ShowISOPage(bool show)
{
    if (!show) {
        HideTestPageFrame(kIsoPageControls);
        return;
    }
    ShowTestPageFrame(kIsoPageControls, kIsoRowLabelX, kIsoRowFieldX, kIsoRowFieldWidth);
    m_host.PlaceDlgItem(kResults, kResultsBox);
    m_surface.Graph().SetGraphSize(450, 400);
    m_host.PlaceDlgItem(IDC_START, kStartButton);
    m_host.PlaceDlgItem(IDC_PROGRESS2, kIsoProgress2Box);
    m_host.SetPageButtonText(PageButton::Start, "Compare");
    m_host.SetPageButtonText(PageButton::Save, "Create");
    m_dlg.SetDlgItemText(kLabelReadErrors, "Sector");
    m_host.SetCurrentPage(kPageCompare);
}

void IsoPage::SetupISOPage(bool clearMap)
{
    EndCompareUi();
    ShowISOPage(true);
    if (clearMap)
        m_host.Events().ClearBlockMap();
    m_host.SetPageRunning(false);
    m_host.EnablePageButton(PageButton::Save, true);
    ResetTestResults();
    ShowPageMediaType();
}

void IsoPage::OnCompareIsoRadio()
{
    m_nCompareSource = 0;
    m_dlg.SetDlgItemText(kLabelReadErrors, "Sector");
}

void IsoPage::OnCompareVideoRadio()
{
    m_nCompareSource = 1;
    m_dlg.SetDlgItemText(kLabelReadErrors, "Files Left");
}

void IsoPage::StartCompare()
{
    // One operation at a time on the drive, from here until its worker has ended.
    const std::shared_ptr<ChannelClaim> claim = m_host.ClaimChannel(ChannelUse::Compare);
    if (!claim)
        return;
    m_nCompareSource = m_dlg.IsDlgButtonChecked(kFolderRadio) ? 2 : m_dlg.IsDlgButtonChecked(kVideoRadio) ? 1 : 0;
    std::optional<std::string> first;
    std::optional<std::string> second;
    switch (m_nCompareSource) {
    case 0:
        first = ShowOpenFileDialog(&m_dlg, "Select an ISO file for comparison", kIsoFilter, "Last ISO Directory",
                                   "iso");
        break;
    case 1:
        first = ShowOpenFileDialog(&m_dlg, "Select a VIDEO_TS.IFO File", "VIDEO_TS Files (*.ifo *.IFO)",
                                   "Last VIDEO_TS Directory", "ifo");
        break;
    default:
        first = BrowseForFolder(&m_dlg, "SELECT THE FIRST FOLDER TO COMPARE");
        if (first)
            second = BrowseForFolder(&m_dlg, "SELECT THE SECOND FOLDER TO COMPARE");
        if (!second)
            return;
        break;
    }
    if (!first)
        return;
    SetupISOPage(true);
    // Until the drive has answered; the drive stays current until the end.
    m_host.EnablePageButton(PageButton::Start, false);
    m_host.EnableDriveList(false);
    if (m_nCompareSource == 2) {
        m_host.ShowStatus("Ready");
        m_host.EnableDriveList(false);
        m_host.EnablePageButton(PageButton::Stop, true);
        m_host.RunToolWork([this, claim, first = *first, second = *second] {
            const ChannelClaim held = std::move(*claim);
            LogEntry("Start THREAD DirCompareThread()");
            FolderCompare(m_host.Events(), held.BusyFlag()).DoDirCompare(first, second);
        });
        return;
    }
    const CDevice* device = m_host.CurrentDevice();
    const std::string driveText = device ? device->m_strDriveText : std::string();
    m_host.RunToolWork([this, claim, source = m_nCompareSource, path = *first, driveText] {
        const ChannelClaim held = std::move(*claim);
        const std::optional<int> profile = StartDiscCompare(m_host.Core().m_Drives, m_host.Events());
        if (!profile)
            return;
        if (source == 1) {
            LogEntry("Start THREAD FileCompareThread()");
            const MountRoots& mounts = m_host.Mounts();
            FolderCompare(m_host.Events(), held.BusyFlag())
                .DoVideoTSCompare(path, mounts.MountRootOf(driveText), mounts.WhereMountIsLookedFor(driveText));
            return;
        }
        const bool bluRay = discwalk::IsBdProfile(*profile);
        LogEntry(bluRay ? "Start THREAD ISOBDCompareThread()" : "Start THREAD ISOCompareThread()");
        DriveBlockReader reader(m_host.Core().m_Drives, m_host.Core().m_Report);
        DiscCompare(reader, m_host.Events(), held.BusyFlag()).DoISOCompare(path, bluRay);
    });
}

void IsoPage::StartCreateIso()
{
    // One operation at a time on the drive: not while a compare runs.
    const std::shared_ptr<ChannelClaim> claim = m_host.ClaimChannel(ChannelUse::CreateIso);
    if (!claim)
        return;
    m_host.Events().ClearBlockMap();
    m_host.SetPageButtonText(PageButton::Start, "Compare");
    m_host.SetPageButtonText(PageButton::Save, "Create");
    m_host.ShowStatus("Requesting filename");
    m_host.SetCurrentPage(kPageCreateIso);
    // The drive stays current until the copy ends: every end gives the lists back.
    m_host.EnablePageButton(PageButton::Start, false);
    m_host.EnableDriveLists(false);
    const auto earlyEnd = [this, claim] {
        claim->Release();
        IsoCreation::EarlyEnd(m_host.Events());
        m_host.SetCurrentPage(kPageCompare);
        m_host.ApplyTestPageChanges();
    };
    auto present = std::make_shared<int>(0);
    m_host.RunDriveWork(
        [this, present] { *present = m_host.Core().m_Drives.mmc.TestMediaPresent(); },
        [this, claim, present, earlyEnd] {
            if (*present != 1) {
                m_host.ShowStatus("No media present in drive");
                MessageBeep(0);
                earlyEnd();
                return;
            }
            const auto choice = ShowSaveFileDialog(&m_dlg, "Choose a FileName for the ISO Image", kIsoFilter,
                                                   "Last ISOSAVE Directory", "iso", 1);
            if (!choice || !ConfirmReplace(choice->path)) {
                m_host.ShowStatus("Ready");
                earlyEnd();
                return;
            }
            m_host.RunToolWork(
                [this, claim, path = choice->path] {
                    const ChannelClaim held = std::move(*claim);
                    LogEntry("Start THREAD DoCreateISOThread()");
                    DriveBlockReader reader(m_host.Core().m_Drives, m_host.Core().m_Report);
                    IsoCreation(reader, m_host.Events(), held.BusyFlag()).DoCreateISO({path, FreeBytesForFile});
                },
                [this] {
                    if (m_host.CurrentPage() == kPageCreateIso)
                        m_host.SetCurrentPage(kPageCompare);
                });
        });
}

void IsoPage::EndCompareUi()
{
    g_bCompareRunning = 0;
    m_host.RestorePageButtons(false);
    m_dlg.UpdateData(false);
}

void IsoPage::EndCreateIsoUi()
{
    g_bCreateIsoRunning = 0;
    m_host.RestorePageButtons(true);
    m_host.EnablePageButton(PageButton::Save, true);
    m_host.SetCurrentPage(kPageCompare);
    m_dlg.UpdateData(false);
}
