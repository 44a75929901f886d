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
#include "gui/app/FileDialogs.h"
#include "gui/app/QuenzaDlg.h"
#include "gui/graphs/GraphStatic.h"
#include "gui/ui/Beep.h"
#include "platform/files/StagedFile.h"

#include <QListWidget>

// The ISO page: the image, VIDEO_TS and folder compares (Start, captioned
// "Compare") and ISO creation (Save, captioned "Create"). The work runs on
// the tools' worker (m_ToolJobs); what it tells comes back through
// m_pPageEvents and the posted end messages.

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

void CQuenzaDlg::OnISOPage()
{
    if (g_bCompareRunning == 1)
        return;
    if (RefuseWhileTesting(true) || m_Core.m_Drives.coordinator.InUse())
        return;
    ShowISOPage(true);
    m_pPageEvents->ResetList(kReadErrorsHeading);
    SetupISOPage(true);
    SetDlgItemText(kGroupBox, "CD / DVD ISO Compare / Create");
    PlaceDlgItem(kGroupBox, BoxAt(487, 70, 250, 355));
    SetDlgItemText(IDC_SAVE, "Create");
    SetDlgItemText(IDC_STOP, "Stop");
    PlaceDlgItem(IDC_SAVE, kIsoSaveButton);
    PlaceDlgItem(IDC_STOP, kIsoStopButton);
    ShowDlgItem(IDC_PROGRESS2, true);
    ApplyTestPageChanges();
}

void CQuenzaDlg::ShowISOPage(bool show)
{
    if (show) {
        ShowDriveInfoPage(false);
        for (int id : {IDC_OUTPUT, IDC_PROGRESS})
            ShowDlgItem(id, false);
        ShowComboBoxes();
        PlaceResultRows(kIsoRowLabelX, kIsoRowFieldX, kIsoRowFieldWidth);
    }
    ShowTestPageControls(kIsoPageControls, show);
    for (int id : {IDC_START, IDC_STOP, IDC_SAVE, IDC_PROGRESS2})
        ShowDlgItem(id, show);
    if (!show)
        return;
    PlaceDlgItem(kResults, kResultsBox);
    m_Graph->SetGraphSize(450, 400);
    PlaceDlgItem(IDC_START, kStartButton);
    PlaceDlgItem(IDC_PROGRESS2, kIsoProgress2Box);
    SetDlgItemText(IDC_START, "Compare");
    SetDlgItemText(IDC_SAVE, "Create");
    SetDlgItemText(kLabelReadErrors, "Sector");
    m_nCurrentPage = kPageCompare;
}

void CQuenzaDlg::SetupISOPage(bool clearMap)
{
    EndCompareUi();
    ShowISOPage(true);
    if (clearMap)
        m_pPageEvents->ClearBlockMap();
    EnableDlgItem(IDC_START, true);
    EnableDlgItem(IDC_SAVE, true);
    EnableDlgItem(IDC_STOP, false);
    ResetTestResults();
    ShowPageMediaType();
}

void CQuenzaDlg::OnCompareIsoRadio()
{
    m_nCompareSource = 0;
    SetDlgItemText(kLabelReadErrors, "Sector");
}

void CQuenzaDlg::OnCompareVideoRadio()
{
    m_nCompareSource = 1;
    SetDlgItemText(kLabelReadErrors, "Files Left");
}

void CQuenzaDlg::StartCompare()
{
    // One operation at a time on the drive, from here until its worker has ended.
    const std::shared_ptr<ChannelClaim> claim = ClaimChannel(ChannelUse::Compare);
    if (!claim)
        return;
    m_nCompareSource = IsDlgButtonChecked(kFolderRadio) ? 2 : IsDlgButtonChecked(kVideoRadio) ? 1 : 0;
    std::optional<std::string> first;
    std::optional<std::string> second;
    switch (m_nCompareSource) {
    case 0:
        first = ShowOpenFileDialog(this, "Select an ISO file for comparison", kIsoFilter, "Last ISO Directory", "iso");
        break;
    case 1:
        first = ShowOpenFileDialog(this, "Select a VIDEO_TS.IFO File", "VIDEO_TS Files (*.ifo *.IFO)",
                                   "Last VIDEO_TS Directory", "ifo");
        break;
    default:
        first = BrowseForFolder(this, "SELECT THE FIRST FOLDER TO COMPARE");
        if (first)
            second = BrowseForFolder(this, "SELECT THE SECOND FOLDER TO COMPARE");
        if (!second)
            return;
        break;
    }
    if (!first)
        return;
    SetupISOPage(true);
    // Until the drive has answered; the drive stays current until the end.
    EnableDlgItem(IDC_START, false);
    EnableDlgItem(IDC_DEVICES, false);
    if (m_nCompareSource == 2) {
        ShowStatus("Ready");
        EnableDlgItem(IDC_DEVICES, false);
        EnableDlgItem(IDC_STOP, true);
        RunToolWork([this, claim, first = *first, second = *second] {
            const ChannelClaim held = std::move(*claim);
            LogEntry("Start THREAD DirCompareThread()");
            FolderCompare(*m_pPageEvents, held.BusyFlag()).DoDirCompare(first, second);
        });
        return;
    }
    const CDevice* device = m_Core.m_Drives.list.m_pCurrentDevice;
    const std::string driveText = device ? device->m_strDriveText : std::string();
    RunToolWork([this, claim, source = m_nCompareSource, path = *first, driveText] {
        const ChannelClaim held = std::move(*claim);
        const std::optional<int> profile = StartDiscCompare(m_Core.m_Drives, *m_pPageEvents);
        if (!profile)
            return;
        if (source == 1) {
            LogEntry("Start THREAD FileCompareThread()");
            FolderCompare(*m_pPageEvents, held.BusyFlag())
                .DoVideoTSCompare(path, m_pMountRoots->MountRootOf(driveText));
            return;
        }
        const bool bluRay = discwalk::IsBdProfile(*profile);
        LogEntry(bluRay ? "Start THREAD ISOBDCompareThread()" : "Start THREAD ISOCompareThread()");
        DriveBlockReader reader(m_Core.m_Drives, m_Core.m_Report);
        DiscCompare(reader, *m_pPageEvents, held.BusyFlag()).DoISOCompare(path, bluRay);
    });
}

void CQuenzaDlg::StartCreateIso()
{
    // One operation at a time on the drive: not while a compare runs.
    const std::shared_ptr<ChannelClaim> claim = ClaimChannel(ChannelUse::CreateIso);
    if (!claim)
        return;
    m_pPageEvents->ClearBlockMap();
    SetDlgItemText(IDC_START, "Compare");
    SetDlgItemText(IDC_SAVE, "Create");
    ShowStatus("Requesting filename");
    m_nCurrentPage = kPageCreateIso;
    // The drive stays current until the copy ends: every end gives the lists back.
    for (int id : {IDC_START, IDC_DEVICES, IDC_TOOLS})
        EnableDlgItem(id, false);
    const auto earlyEnd = [this, claim] {
        claim->Release();
        IsoCreation::EarlyEnd(*m_pPageEvents);
        m_nCurrentPage = kPageCompare;
        ApplyTestPageChanges();
    };
    auto present = std::make_shared<int>(0);
    RunDriveWork([this, present] { *present = m_Core.m_Drives.mmc.TestMediaPresent(); },
                 [this, claim, present, earlyEnd] {
                     if (*present != 1) {
                         ShowStatus("No media present in drive");
                         MessageBeep(0);
                         earlyEnd();
                         return;
                     }
                     const auto choice = ShowSaveFileDialog(this, "Choose a FileName for the ISO Image", kIsoFilter,
                                                            "Last ISOSAVE Directory", "iso", 1);
                     if (!choice) {
                         ShowStatus("Ready");
                         earlyEnd();
                         return;
                     }
                     RunToolWork(
                         [this, claim, path = choice->path] {
                             const ChannelClaim held = std::move(*claim);
                             LogEntry("Start THREAD DoCreateISOThread()");
                             DriveBlockReader reader(m_Core.m_Drives, m_Core.m_Report);
                             IsoCreation(reader, *m_pPageEvents, held.BusyFlag()).DoCreateISO({path, FreeBytesForFile});
                         },
                         [this] {
                             if (m_nCurrentPage == kPageCreateIso)
                                 m_nCurrentPage = kPageCompare;
                         });
                 });
}

std::shared_ptr<ChannelClaim> CQuenzaDlg::ClaimChannel(ChannelUse use)
{
    if (m_bExited)
        return nullptr;
    std::optional<ChannelClaim> claim = m_Core.m_Drives.coordinator.TryClaim(use);
    return claim ? std::make_shared<ChannelClaim>(std::move(*claim)) : nullptr;
}

void CQuenzaDlg::RunToolWork(std::function<void()> work, std::function<void()> done)
{
    if (m_bExited)
        return;
    m_ToolJobs.Run(std::move(work), [this, done = std::move(done)] {
        ApplyTestPageChanges();
        if (done && !m_bExited)
            done();
    });
}

void CQuenzaDlg::WaitForToolWork()
{
    do {
        WaitForDriveWork();
        while (m_ToolJobs.Busy()) {
            m_ToolJobs.WaitForWork();
            m_ToolJobs.RunCompletions();
            PumpPostedMessages();
        }
        WaitForDriveWork();
    } while (m_ToolJobs.Busy());
}
