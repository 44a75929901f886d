#include "gui/tools/errortest/ErrorTestPage.h"

#include "core/app/MainPages.h"
#include "core/app/MainWindowRules.h"
#include "core/base/BusyFlags.h"
#include "core/base/Format.h"
#include "core/base/UserPrompt.h"
#include "core/app/MainLayout.h"
#include "core/app/TestPageControls.h"
#include "core/info/DriveInfoControls.h"
#include "core/tools/errortest/ErrorTest.h"
#include "core/tools/testpage/DiscCheck.h"
#include "core/tools/testpage/PageEvents.h"
#include "gui/graphs/GraphStatic.h"
#include "gui/ui/Beep.h"
#include "gui/ui/Dialog.h"
#include "gui/ui/EventWatch.h"
#include "scsi/DiscStructure.h"

#include <QMouseEvent>

#include <vector>

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

ErrorTestPage::ErrorTestPage(PageHost& host) : TestPage(host)
{
    m_clicks = std::make_unique<EventWatch>(&m_dlg, QEvent::MouseButtonPress, [this](QEvent& event) {
        const auto& click = static_cast<QMouseEvent&>(event);
        if (click.button() == Qt::LeftButton) {
            const QPoint at = click.position().toPoint();
            OnMapClick(at.x(), at.y());
        }
    });
}

ErrorTestPage::~ErrorTestPage() = default;

void ErrorTestPage::Show(int)
{
    OnErrorTestPage();
}

void ErrorTestPage::Hide()
{
    TestPage::Hide();
    if (m_dlg.GetDlgItemText(kLabelCurrentSpeed) == "Bad Sectors")
        NameErrorPageLabels(false);
}

void ErrorTestPage::DriveSelected(int)
{
    // The previous drive's map and list are not this drive's.
    OnErrorTestPage();
}

void ErrorTestPage::DiscArrived(int)
{
    if (!m_host.DriveHeld())
        SetupErrorTestPage(true);
}

void ErrorTestPage::DiscRemoved(int)
{
    if (g_bErrorTestRunning == 1)
        EndErrorTestUi();
}

bool ErrorTestPage::Start(int)
{
    StartErrorTest();
    return true;
}

bool ErrorTestPage::Stop(int)
{
    StopErrorTest();
    return true;
}

bool ErrorTestPage::Save(int)
{
    m_surface.SaveReadErrorList(m_strErrorTestStopped);
    return true;
}

bool ErrorTestPage::OnPageMessage(UINT message, WPARAM, LPARAM)
{
    if (message != WM_ERRORTESTENDED)
        return false;
    EndErrorTestUi();
    return true;
}

void ErrorTestPage::OnErrorTestPage()
{
    if (g_bErrorTestRunning == 1 || g_bCreateIsoRunning == 1)
        return;
    // A speed test or the scan window: refused.
    if (m_host.RefuseWhileTesting(true) || m_host.DriveHeld())
        return;  // an operation is still giving the drive back
    m_host.SetPageButtonText(PageButton::Save, "Save");
    m_host.SetPageButtonText(PageButton::Stop, "Stop");
    m_host.PlaceDlgItem(IDC_SAVE, kErrorSaveButton);
    m_host.PlaceDlgItem(IDC_STOP, kErrorStopButton);
    ShowErrorTestPage(true);
    m_host.Events().ResetList(kReadErrorsHeading);
    m_host.Events().EnablePageButton(PageButton::Save, false);
    SetupErrorTestPage(true);
    m_dlg.SetDlgItemText(kGroupBox, "CD/DVD/BD CRC Read Error Test");
    m_host.ApplyTestPageChanges();
}

void ErrorTestPage::ShowErrorTestPage(bool show)
{
    if (show)
        ShowTestPageFrame(kErrorPageControls, kErrorRowLabelX, kErrorRowFieldX, kErrorRowFieldWidth);
    else
        HideTestPageFrame(kErrorPageControls);
    m_dlg.ShowDlgItem(IDC_MODEL, show);
    NameErrorPageLabels(show);
    if (!show)
        return;
    m_host.SetPageButtonText(PageButton::Start, "Start");
    m_host.SetPageButtonText(PageButton::Save, "Save");
    m_dlg.SetDlgItemText(kLabelReadErrors, "Sector");
    m_host.PlaceDlgItem(kResults, kErrorResultsBox);
    m_host.PlaceDlgItem(kGroupBox, kErrorGroupBox);
    m_host.PlaceDlgItem(IDC_PROGRESS2, kErrorProgress2Box);
    m_host.PlaceDlgItem(IDC_START, kErrorStartButton);
    m_host.PlaceDlgItem(IDC_MODEL, kErrorModelField);
    m_surface.Graph().SetGraphSize(450, 400);
    m_host.SetCurrentPage(kPageErrorTest);
}

void ErrorTestPage::NameErrorPageLabels(bool errorPage)
{
    m_dlg.SetDlgItemText(kLabelCurrentSpeed, errorPage ? "Bad Sectors" : "Current Speed");
    m_dlg.SetDlgItemText(kLabelAverageSpeed, errorPage ? "Suspect Sectors" : "Average Speed");
    m_dlg.SetDlgItemText(kLabelAverageDataRate, errorPage ? "% Bad/Suspect" : "Avg Data Rate");
}

void ErrorTestPage::SetupErrorTestPage(bool clearMap)
{
    EndErrorTestUi();
    ShowErrorTestPage(true);
    if (clearMap)
        m_host.Events().ClearBlockMap();
    m_host.SetPageRunning(false);
    m_surface.ApplySpeedGraphColours();
    ResetTestResults();
    ShowPageMediaType();
}

void ErrorTestPage::StartErrorTest()
{
    MainDialogCore& core = m_host.Core();
    if (core.m_Drives.coordinator.InUse())
        return;  // one operation at a time on the drive
    m_host.ShowStatus("Initialising test...");
    SetupErrorTestPage(true);
    m_host.EnablePageButton(PageButton::Save, false);
    const std::shared_ptr<ChannelClaim> claim = m_host.ClaimChannel(ChannelUse::ErrorTest);
    if (!claim)
        return;
    m_strErrorTestStopped.clear();
    // Until the drive has answered; the drive stays current until the end.
    m_host.EnablePageButton(PageButton::Start, false);
    m_host.EnableDriveLists(false);
    m_host.ShowStatus("Waiting for unit to become ready");
    auto disc = std::make_shared<DiscForTest>();
    m_host.RunDriveWork([&core, disc] { *disc = CheckDiscForTest(core.m_Drives, kUnitReadySeconds); },
                        [this, &core, claim, disc] {
                            PageEvents& events = m_host.Events();
                            events.SetText(kFieldMediaType, disc->present ? disc->typeName : std::string());
                            if (!disc->present || !disc->ready || !disc->capacityRead) {
                                m_host.EnablePageButton(PageButton::Start, true);
                                m_host.EnableDriveLists(true);
                                claim->Release();
                                m_host.ApplyTestPageChanges();
                                if (!disc->present) {
                                    m_host.ShowStatus("No Media loaded");
                                    MessageBeep(MB_OK);
                                } else if (!disc->ready) {
                                    m_host.ShowStatus("Timeout waiting for unit");
                                } else {
                                    m_host.ShowStatus("Error Reading Media");
                                    MessageBeep(MB_OK);
                                }
                                return;
                            }
                            m_host.ShowStatus("Ready - Initialising Test...");
                            auto reach = std::make_shared<ErrorTestReach>();
                            m_host.RunToolWork(
                                [&core, &events, claim, reach, profile = disc->profile] {
                                    ChannelClaim held = std::move(*claim);
                                    ErrorTest test(core.m_Drives, core.m_Report, events, held);
                                    ErrorThreadFor(profile)(&test);
                                    *reach = test.Reach();
                                },
                                [this, reach] { m_strErrorTestStopped = reach->StoppedLine(); });
                            m_host.ShowStatus("Ready");
                            m_host.SetPageRunning(true);
                            m_host.ApplyTestPageChanges();
                        });
}

void ErrorTestPage::StopErrorTest()
{
    m_host.ShowStatus("Stopping...");
    m_host.RequestStop(ChannelUse::ErrorTest);
    EndErrorTestUi();
    m_host.ShowStatus("Ready");
    m_host.EnablePageButton(PageButton::Save, true);
}

void ErrorTestPage::EndErrorTestUi()
{
    g_bErrorTestRunning = 0;
    m_host.RestorePageButtons(true);
    m_dlg.UpdateData(false);
}

void ErrorTestPage::OnMapClick(int x, int y)
{
    if (m_host.CurrentPage() != kPageErrorTest || g_bErrorTestRunning != 0)
        return;
    MainDialogCore& core = m_host.Core();
    auto blocks = std::make_shared<int>(0);
    m_host.RunDriveWork(
        [&core, blocks] {
            DriveContext& drives = core.m_Drives;
            int profile = 0;
            drives.media.GetDriveProfile(profile);
            std::vector<std::uint8_t> structure(disc_structure::kPhysicalFormatLength, 0);
            const bool read = drives.mmc.TestMediaPresent() == 1
                && drives.reads.ReadDiscStructureNoCheck(0, 0, 0, disc_structure::kPhysicalFormatLength,
                                                         structure.data())
                    == 0;
            // The cells of the test that draws the map.
            *blocks = errortest::GroupShapeFor(profile, read && (structure[6] & 0x60) ? 2 : 1).BlocksPerCell();
        },
        [x, y, blocks] {
            if (const auto range = ErrorMapCellRange(x, y, *blocks))
                AppMessageBox(Format("Sector %xh to %xh", range->first, range->second));
        });
}
