#include "gui/app/QuenzaDlg.h"

#include "core/base/AppProfile.h"
#include "core/base/BusyFlags.h"
#include "core/app/DeviceBroadcast.h"
#include "core/base/Format.h"
#include "core/base/LogFile.h"
#include "core/app/MainLayout.h"
#include "core/app/MainWindowRules.h"
#include "core/base/UserPrompt.h"
#include "core/ui/ColorSchemes.h"
#include "core/ui/GraphColours.h"
#include "gui/ui/DigitalMessageBox.h"
#include "gui/ui/MatrixStatic.h"
#include "gui/ui/MyEdit.h"
#include "gui/ui/Resources.h"
#include "gui/ui/ShellOpen.h"
#include "gui/ui/Beep.h"
#include "gui/ui/TextProgressCtrl.h"
#include "platform/devices/DriveWatcher.h"

#include <QApplication>
#include <QComboBox>
#include <QPixmap>
#include <QPushButton>

#include <cstdlib>
#include <ctime>

namespace {

constexpr int kStatusColumns = 40;
constexpr int kStartupTimerMs = 100;
constexpr int kRedColour = 255;
// The area the interrogation box is centred over: where the window will stand.
constexpr int kPlacementWidth = 636;
constexpr int kPlacementHeight = 501;

}  // namespace

CQuenzaDlg::CQuenzaDlg(QWidget* parent) : CQuenzaDlg(DriveSources::FromEnvironment(), {}, parent)
{
}

CQuenzaDlg::CQuenzaDlg(DriveSources sources, WindowServices services, QWidget* parent) :
    CDialog(IDD, parent),
    m_Core(std::move(sources)),
    m_pTray(services.tray ? std::move(services.tray) : MakeSystemTray()),
    m_pFetcher(services.fetcher ? std::move(services.fetcher) : MakeNetworkFetcher()),
    m_pTimers(services.timers ? std::move(services.timers) : std::make_unique<DialogTimers>(*this)),
    m_Presence(*this, *m_pTray, *m_pTimers),
    m_Updates(*m_pFetcher, m_Presence, *m_pTimers),
    m_hIcon(QPixmap::fromImage(LoadIconResource(IDR_MAINFRAME)))
{
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    g_bCompareRunning = 0;
    g_bCreateIsoRunning = 0;
    g_bSpeedTestRunning = 0;
    g_bErrorTestRunning = 0;
    setWindowTitle(QString::fromStdString(Format("Quenzario V%.3f", GetProgramVersionNumber())));
    CreateControls();
    const MessageTargetPtr target = GetMessageTarget();
    // The pages' workers tell the window through the test-page state.
    m_pPageEvents = std::make_unique<PageEvents>(m_Core.m_Report, m_TestPage, target);
    // Beeps sound from the window's thread.
    m_pPageEvents->SetBeepHook([this](unsigned type) {
        QMetaObject::invokeMethod(
            this, [type] { MessageBeep(type); }, Qt::QueuedConnection);
    });
    m_TestPage.SetListener([target] { target->PostMessage(WM_TESTPAGECHANGED); });
    MapCommands();
    MapPresenceCommands();
    BindPagesAndTools();
    // No button of the window is pressed by Enter.
    for (QPushButton* button : findChildren<QPushButton*>())
        button->setAutoDefault(false);
    m_DriveJobs.SetTarget(target, WM_DRIVEWORKDONE);
    m_ToolJobs.SetTarget(target, WM_TOOLWORKDONE);
    m_Core.m_Report.SetListener(
        [target](ReportChange change) { target->PostMessage(WM_REPORTCHANGED, static_cast<WPARAM>(change)); });
}

CQuenzaDlg::~CQuenzaDlg()
{
    DeleteStatusAreaIcon();
    m_pWatcher.reset();
    // A tool still at work ends at its next look at its flag.
    g_bCompareRunning = 0;
    g_bCreateIsoRunning = 0;
    m_ToolJobs.WaitForWork();
    g_bMediaHashRunning = 0;  // a disc hash ends at its next read
    m_DriveJobs.WaitForWork();
    m_Pages.Clear();
    m_Core.m_Report.SetListener(nullptr);
    m_TestPage.SetListener(nullptr);
}

bool CQuenzaDlg::OnInitDialog()
{
    LogEntry("Start main window class");
    CDialog::OnInitDialog();
    // The window's icon, and the application's for its other windows.
    setWindowIcon(m_hIcon);
    QApplication::setWindowIcon(m_hIcon);
    WriteDefaultColours();
    DoDigitalInterrogationBox();
    InitInstallDirectory();
    CheckSystemDPI();
    m_Look.LoadBannerSkin();
    InitWindowPos();
    InitMemberVariables();
    InitDisplays();
    m_Look.InitCustomButtons();

    auto& hooks = m_Core.m_Drives.list.hooks;
    hooks.driveAdded = [this](const std::string& message, const std::string& title) {
        if (m_pInterrogationBox) {
            m_pInterrogationBox->SetMessageText(message);
            m_pInterrogationBox->setWindowTitle(QString::fromStdString(title));
            m_pInterrogationBox->repaint();  // the list is built before the event loop runs
        }
    };
    hooks.deviceSelected = [this](CDevice&) { OnDeviceSelected(); };
    const DriveListResult started = m_Core.m_Drives.list.InitInterfaces();
    ShowDriveListMessages(started.messages);
    if (!started) {
        m_pInterrogationBox.reset();
        EndDialog(kNoUsableDriveExitStatus);  // the reason has been shown
        return true;
    }
    FillDeviceCombo();
    m_Presence.SetAlwaysOnTop(GetAppProfileInt("AlwaysOnTop", 0) == 1);
    UpdateData(false);
    m_pInterrogationBox.reset();
    StartDriveWatcher();
    m_Updates.ScheduleQuietCheck();
    unsetCursor();
    LogEntry("Startup timer initialised");
    SetTimer(STARTUP_TIMER, kStartupTimerMs);
    return true;
}

void CQuenzaDlg::InitMemberVariables()
{
    LogEntry("InitMemberVariables() Start");
    LogEntry("InitMemberVariables - Clearing StringArrays");
    m_cbTools->setCurrentIndex(0);
    m_Core.m_Drives.mmc.m_bTrayLocked = 0;
    for (const auto& page : m_Pages.All())
        page->CloseWindows();
    m_Progress2->SetRange(0, 100);
    m_Progress->SetFillColour(kRedColour);
    m_Progress2->SetFillColour(kRedColour);
    m_strInfo[IDC_MEDIAID] = "N/A";
    UpdateData(false);
    LogEntry("InitMemberVariables() End");
}

void CQuenzaDlg::InitDisplays()
{
    LogEntry("InitDisplays() - Start");
    m_Look.LoadColourScheme();
    SetUpOneLineDisplay(*m_MatrixStatus, kStatusColumns, m_Look.m_crScheme);
    m_Presence.InitDisplays();
    LogEntry("InitDisplays() - End");
}

void CQuenzaDlg::InitWindowPos()
{
    ResizeDlgItem(IDC_OUTPUT, kOutputBoxSize);
    m_Presence.InitWindowPos();
}

void CQuenzaDlg::InitInstallDirectory()
{
    WriteAppProfileString("Installation Directory", ProgramFolder());
}

void CQuenzaDlg::DoDigitalInterrogationBox()
{
    LogEntry("DoDigitalInterrogationBox() Start");
    LogEntry("Start modeless digitial message class");
    m_pInterrogationBox = std::make_unique<CDigitalMessageBox>();
    m_pInterrogationBox->Create();
    const UiPoint at = m_Presence.SavedWindowPosition();
    const QSize box = m_pInterrogationBox->sizeHint();
    m_pInterrogationBox->move(at.x + (kPlacementWidth - box.width()) / 2, at.y + (kPlacementHeight - box.height()) / 2);
    m_pInterrogationBox->SetMessageText(" Interrogating your drives, Please Wait...");
    LogEntry("DoDigitalInterrogationBox() End");
}

void CQuenzaDlg::StartDriveWatcher()
{
    const DriveSources& sources = m_Core.m_Drives.Sources();
    const MessageTargetPtr target = GetMessageTarget();
    m_pWatcher = std::make_unique<DriveWatcher>(sources.sysBlockRoot, m_Core.m_Drives.Opener(), sources.emulated,
                                                [target](const DriveChange& change) {
                                                    target->PostMessage(WM_DEVICECHANGE, DeviceChangeEvent(change),
                                                                        KeepDeviceBroadcast(DeviceBroadcastOf(change)));
                                                });
    // A running test or scan owns the drives: the watcher leaves them alone.
    m_pWatcher->SetPaused([] { return AnyBusyFlagSet(); });
    m_pWatcher->Start(sources.watchIntervalMs);
}

void CQuenzaDlg::OnOK()
{
    // Enter never ends the main window.
}

void CQuenzaDlg::OnCancel()
{
    // Escape never ends the main window: the close box and Exit do.
}

void CQuenzaDlg::OnClose()
{
    // Nothing is torn down unless the exit goes ahead: a running operation
    // and a locked tray keep the window as it is.
    if (m_bExited)
        return;
    if (m_bPiPoActive == 1 || AnyBusyFlagSet() || m_Core.m_Drives.mmc.m_bTrayLocked == 1
        || m_Core.m_Drives.coordinator.InUse() || m_ToolJobs.Working())
        return;
    if (m_DriveJobs.Working()) {
        WhenDriveIdle([this] { OnClose(); });
        return;
    }
    for (PageButton button : {PageButton::Start, PageButton::Stop})
        EnablePageButton(button, false);
    for (int id : {IDC_TOOLS, IDC_DEVICES})
        EnableDlgItem(id, false);
    DeleteStatusAreaIcon();
    RemoveToolTips();
    OnExitProgram();
}

void CQuenzaDlg::OnExitProgram()
{
    if (m_bExited)
        return;  // a close asked for twice while drive work ran
    if (m_DriveJobs.Working()) {  // drive work uses the lists: the exit follows it
        WhenDriveIdle([this] { OnExitProgram(); });
        return;
    }
    LogEntry("Exit program command received");
    if (m_Core.m_Drives.mmc.m_bTrayLocked == 1)
        return;
    if (AnyBusyFlagSet() || m_bPiPoActive == 1) {
        AppMessageBox("You must stop the test first", "Error Test Running!", MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    KillTimer(RESCAN_TIMER);
    LogEntry("Saving current device");
    WriteAppProfileInt("SelectedDevice", m_cbDevices->currentIndex());
    LogEntry("Deleting Status Area Icon");
    DeleteStatusAreaIcon();
    LogEntry("Saving windows co-ordinates");
    SaveWindowPosition();
    m_pWatcher.reset();
    LogEntry("Destroying device list array");
    m_Core.m_Drives.list.ReleaseDevices();
    for (const auto& page : m_Pages.All())
        page->CloseWindows();
    m_Core.m_Drives.m_ScsiCommand.CloseAssociateHandle();
    LogEntry("Calling EndDialog()");
    m_bExited = true;
    EndDialog(0);
}

void CQuenzaDlg::SaveWindowPosition()
{
    const QPoint at = frameGeometry().topLeft();
    WriteAppProfileInt("VideoWindow Left", std::max(at.x(), 0));
    WriteAppProfileInt("VideoWindow Top", std::max(at.y(), 0));
}

void CQuenzaDlg::RunDriveWork(std::function<void()> work, std::function<void()> done)
{
    if (m_bExited)  // the drives are let go
        return;
    // A completion still waiting when the exit runs would act on released drives.
    if (done)
        done = [this, done = std::move(done)] {
            if (!m_bExited)
                done();
        };
    m_DriveJobs.Run(std::move(work), std::move(done));
}

void CQuenzaDlg::WhenDriveIdle(std::function<void()> action)
{
    if (m_bExited)
        return;
    // Only the work matters: an action that waited runs as soon as the work
    // before it has ended, and never waits again for later completions.
    if (!m_DriveJobs.Working())
        action();
    else
        RunDriveWork({}, std::move(action));
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

std::shared_ptr<ChannelClaim> CQuenzaDlg::ClaimChannel(ChannelUse use)
{
    if (m_bExited)
        return nullptr;
    std::optional<ChannelClaim> claim = m_Core.m_Drives.coordinator.TryClaim(use);
    return claim ? std::make_shared<ChannelClaim>(std::move(*claim)) : nullptr;
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

void CQuenzaDlg::WaitForDriveWork()
{
    // Completions and messages may give more work: until none is left.
    do {
        while (m_DriveJobs.Busy()) {
            m_DriveJobs.WaitForWork();
            m_DriveJobs.RunCompletions();
        }
        PumpPostedMessages();
    } while (m_DriveJobs.Busy());
}
