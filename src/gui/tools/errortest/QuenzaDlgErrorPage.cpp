#include "core/base/BusyFlags.h"
#include "core/app/MainLayout.h"
#include "core/app/TestPageControls.h"
#include "core/info/DriveInfoControls.h"
#include "core/tools/errortest/ErrorTest.h"
#include "core/tools/testpage/DiscCheck.h"
#include "gui/app/QuenzaDlg.h"
#include "gui/graphs/GraphStatic.h"
#include "gui/ui/Beep.h"

// The read error test page (page 8): the block map on the main graph, the
// bad and suspect counts, the list of unreadable blocks, Start, Stop and
// Save. The test runs on the tools' worker (core/tools/errortest); what it
// tells comes back through m_pPageEvents and WM_ERRORTESTENDED.

namespace {

using namespace testpage;
using namespace errortest;

constexpr UiRect kErrorSaveButton = BoxAt(573, 389, 66, 23);
constexpr UiRect kErrorStopButton = BoxAt(642, 389, 66, 23);
constexpr UiRect kErrorStartButton = BoxAt(504, 389, 66, 23);
constexpr UiRect kErrorResultsBox = BoxAt(494, 293, 237, 93);
constexpr UiRect kErrorProgress2Box = BoxAt(513, 433, 207, 16);
constexpr UiRect kErrorModelField = BoxAt(512, 89, 195, 16);
constexpr UiRect kErrorGroupBox = BoxAt(487, 70, 250, 355);
constexpr int kErrorRowLabelX = 507;
constexpr int kErrorRowFieldX = 612;
constexpr int kErrorRowFieldWidth = 118;
constexpr int kUnitReadySeconds = 15;

const std::vector<int> kErrorPageControls = {kGroupBox,
                                             kResults,
                                             kGraph,
                                             kLabelMediaId,
                                             kFieldMediaId,
                                             kLabelMediaType,
                                             kFieldMediaType,
                                             kLabelLength,
                                             kFieldLength,
                                             kLabelRead,
                                             kFieldRead,
                                             kLabelRemaining,
                                             kFieldRemaining,
                                             kLabelReadErrors,
                                             kFieldReadErrors,
                                             kLabelCurrentSpeed,
                                             kFieldCurrentSpeed,
                                             kLabelAverageSpeed,
                                             kFieldAverageSpeed,
                                             kLabelAverageDataRate,
                                             kFieldAverageDataRate};

}  // namespace

void CQuenzaDlg::OnErrorTestPage()
{
    if (g_bErrorTestRunning == 1 || g_bCreateIsoRunning == 1)
        return;
    // A speed test or the scan window: refused.
    if (RefuseWhileTesting(true) || m_Core.m_Drives.coordinator.InUse())
        return;  // an operation is still giving the drive back
    SetDlgItemText(IDC_SAVE, "Save");
    SetDlgItemText(IDC_STOP, "Stop");
    PlaceDlgItem(IDC_SAVE, kErrorSaveButton);
    PlaceDlgItem(IDC_STOP, kErrorStopButton);
    ShowErrorTestPage(true);
    m_pPageEvents->ResetList(kReadErrorsHeading);
    m_pPageEvents->Enable(kSave, false);
    SetupErrorTestPage(true);
    SetDlgItemText(kGroupBox, "CD/DVD/BD CRC Read Error Test");
    ApplyTestPageChanges();
}

void CQuenzaDlg::ShowErrorTestPage(bool show)
{
    if (show) {
        ShowDriveInfoPage(false);
        for (int id : {IDC_OUTPUT, IDC_PROGRESS})
            ShowDlgItem(id, false);
        ShowComboBoxes();
        PlaceResultRows(kErrorRowLabelX, kErrorRowFieldX, kErrorRowFieldWidth);
    }
    ShowTestPageControls(kErrorPageControls, show);
    for (int id : {int{IDC_START}, int{IDC_STOP}, int{IDC_SAVE}, int{IDC_PROGRESS2}, int{IDC_MODEL}})
        ShowDlgItem(id, show);
    NameErrorPageLabels(show);
    if (!show)
        return;
    SetDlgItemText(IDC_START, "Start");
    SetDlgItemText(IDC_SAVE, "Save");
    SetDlgItemText(kLabelReadErrors, "Sector");
    PlaceDlgItem(kResults, kErrorResultsBox);
    PlaceDlgItem(kGroupBox, kErrorGroupBox);
    PlaceDlgItem(IDC_PROGRESS2, kErrorProgress2Box);
    PlaceDlgItem(IDC_START, kErrorStartButton);
    PlaceDlgItem(IDC_MODEL, kErrorModelField);
    m_Graph->SetGraphSize(450, 400);
    m_nCurrentPage = kPageErrorTest;
}

void CQuenzaDlg::NameErrorPageLabels(bool errorPage)
{
    SetDlgItemText(kLabelCurrentSpeed, errorPage ? "Bad Sectors" : "Current Speed");
    SetDlgItemText(kLabelAverageSpeed, errorPage ? "Suspect Sectors" : "Average Speed");
    SetDlgItemText(kLabelAverageDataRate, errorPage ? "% Bad/Suspect" : "Avg Data Rate");
}

void CQuenzaDlg::SetupErrorTestPage(bool clearMap)
{
    EndErrorTestUi();
    ShowErrorTestPage(true);
    if (clearMap)
        m_pPageEvents->ClearBlockMap();
    EnableDlgItem(IDC_START, true);
    EnableDlgItem(IDC_STOP, false);
    ApplySpeedGraphColours();
    ResetTestResults();
    ShowPageMediaType();
}

void CQuenzaDlg::StartErrorTest()
{
    if (m_Core.m_Drives.coordinator.InUse())
        return;  // one operation at a time on the drive
    ShowStatus("Initialising test...");
    SetupErrorTestPage(true);
    EnableDlgItem(IDC_SAVE, false);
    const std::shared_ptr<ChannelClaim> claim = ClaimChannel(ChannelUse::ErrorTest);
    if (!claim)
        return;
    m_strErrorTestStopped.clear();
    // Until the drive has answered; the drive stays current until the end.
    for (int id : {IDC_START, IDC_DEVICES, IDC_TOOLS})
        EnableDlgItem(id, false);
    ShowStatus("Waiting for unit to become ready");
    auto disc = std::make_shared<DiscForTest>();
    RunDriveWork([this, disc] { *disc = CheckDiscForTest(m_Core.m_Drives, kUnitReadySeconds); },
                 [this, claim, disc] {
                     m_pPageEvents->SetText(kFieldMediaType, disc->present ? disc->typeName : std::string());
                     if (!disc->present || !disc->ready || !disc->capacityRead) {
                         for (int id : {IDC_START, IDC_DEVICES, IDC_TOOLS})
                             EnableDlgItem(id, true);
                         claim->Release();
                         ApplyTestPageChanges();
                         if (!disc->present) {
                             ShowStatus("No Media loaded");
                             MessageBeep(MB_OK);
                         } else if (!disc->ready) {
                             ShowStatus("Timeout waiting for unit");
                         } else {
                             ShowStatus("Error Reading Media");
                             MessageBeep(MB_OK);
                         }
                         return;
                     }
                     ShowStatus("Ready - Initialising Test...");
                     auto reach = std::make_shared<ErrorTestReach>();
                     RunToolWork(
                         [this, claim, reach, profile = disc->profile] {
                             ChannelClaim held = std::move(*claim);
                             ErrorTest test(m_Core.m_Drives, m_Core.m_Report, *m_pPageEvents, held);
                             ErrorThreadFor(profile)(&test);
                             *reach = test.Reach();
                         },
                         [this, reach] { m_strErrorTestStopped = reach->StoppedLine(); });
                     ShowStatus("Ready");
                     EnableDlgItem(IDC_START, false);
                     EnableDlgItem(IDC_STOP, true);
                     ApplyTestPageChanges();
                 });
}

void CQuenzaDlg::StopErrorTest()
{
    ShowStatus("Stopping...");
    m_Core.m_Drives.coordinator.RequestStop(ChannelUse::ErrorTest);
    EndErrorTestUi();
    ShowStatus("Ready");
    EnableDlgItem(IDC_SAVE, true);
}
