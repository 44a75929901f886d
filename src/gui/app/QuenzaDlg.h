#pragma once

#include "core/base/DriveJobRunner.h"
#include "core/app/MainControls.h"
#include "core/app/MainDialogCore.h"
#include "core/app/MainPages.h"
#include "core/app/MainWindowIds.h"
#include "core/app/MainWindowRules.h"
#include "core/app/TestPageState.h"
#include "core/tools/testpage/PageEvents.h"
#include "core/info/DriveInfoControls.h"
#include "core/info/DriveInfoPage.h"
#include "core/ui/UiGeometry.h"
#include "gui/app/MainWindowLook.h"
#include "gui/app/PageHost.h"
#include "gui/app/PageSet.h"
#include "gui/app/TrayPresence.h"
#include "gui/app/UpdateChecker.h"
#include "gui/ui/Dialog.h"
#include "gui/ui/ThemeHelperST.h"
#include "gui/ui/TimerPort.h"
#include "gui/ui/TrayService.h"
#include "gui/ui/WebFetcher.h"
#include "platform/devices/MountRoots.h"

#include <QFont>
#include <QIcon>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class CDigitalMessageBox;
class CMatrixStatic;
class CMyEdit;
class CPiPo;
class CTextProgressCtrl;
class CXPStyleButtonST;
class DriveWatcher;
class QComboBox;

// The desktop's services the window uses: its notification-area icon, the
// update checks' web fetches and the timers its look and presence start.
// Left empty, the desktop's own and the window's timers; tests give scripted
// ones.
struct WindowServices {
    std::unique_ptr<TrayService> tray;
    std::unique_ptr<WebFetcher> fetcher;
    std::unique_ptr<TimerPort> timers;
};

// The main window: the drive list, the "Tools & Utilities" list, the views
// the pages share and the commands. Its drive side and text live in m_Core;
// drive commands run on m_DriveJobs' thread and their results come back as
// messages. Each page and tool is an object of its own (PageClasses(),
// gui/app/PageList.cpp) that reaches the window as its PageHost.
class CQuenzaDlg : public CDialog, private PageHost {
    Q_OBJECT

public:
    static constexpr int IDD = 102;
    explicit CQuenzaDlg(QWidget* parent = nullptr);
    // Drives from the given sources instead of the machine and the environment,
    // and the desktop's services given (tests).
    explicit CQuenzaDlg(DriveSources sources, WindowServices services = {}, QWidget* parent = nullptr);
    ~CQuenzaDlg() override;

    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnTimer(int id) override;
    void OnClose() override;
    void OnOK() override;
    void OnCancel() override;
    void OnExitProgram();

    // Drive selection and the tools list.
    void OnSelchangeDevicescombo();
    void OnSelchangeToolscombo();
    int DoReadstruct();
    // The page buttons: the current page's command, or the speed test page's.
    void OnStart();
    void OnStop();
    void OnSave();
    void OnRefresh();
    void OnSettings();
    void OnAbout();
    void OnSnapshot();
    void OnPiPoScan();
    void OnGraphFileViewer();

    // Small commands.
    void OnEject();
    void OnHelp();
    void OnHomePage();
    void OnCopyToClipboard();
    // The drive page as it shows: its texts and its boxes' states.
    DriveInfoPage ShownDriveInfoPage();
    void OnSaveRawData();
    void OnEditStatusComment();

    // Show and hide the views the pages share.
    void ShowInfoDisplay(bool show) override;
    void ShowInfoDisplayWithProgress(bool show);
    void ShowDriveInfoPage(bool show) override;
    void ShowListOutput(bool show);
    void ShowMainButtons(bool show) override;
    void EnablePageButton(PageButton button, bool enable) override;
    void ShowStatus(const std::string& text) { m_Core.m_Report.ShowStatus(text); }

    // Runs the drive work given so far to its end and shows what it found
    // (tests, and code that must see the result).
    void WaitForDriveWork();
    // Runs the drive work and the tool's worker to their ends (tests).
    void WaitForToolWork();
    DriveWatcher* Watcher() const { return m_pWatcher.get(); }
    // Where discs are mounted (tests give their own).
    void SetMountRoots(std::unique_ptr<MountRoots> roots) { m_pMountRoots = std::move(roots); }
    // The pages and tools (tests reach a page's object with Find).
    const PageSet& Pages() const { return m_Pages; }
    // The window's look, its tray presence and its update checks.
    MainWindowLook& Look() { return m_Look; }
    TrayPresence& Presence() { return m_Presence; }
    UpdateChecker& Updates() { return m_Updates; }

    int m_bPiPoActive = 0;
    CPiPo* m_pPiPo = nullptr;  // the scan window while it runs
    std::string m_strCmdLine1;
    std::string m_strCmdLine2;
    int m_nCurrentPage = kPageDriveInfo;
    std::map<int, std::string> m_strInfo;  // the drive's texts by control

    MainDialogCore m_Core;
    // What the test pages show beside the report, written by the tools' workers.
    TestPageState m_TestPage;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // PageHost: what the pages ask of the window.
    CDialog& Window() override { return *this; }
    MainDialogCore& Core() override { return m_Core; }
    std::string& DriveInfoText(int id) override { return m_strInfo[id]; }
    int CurrentPage() const override { return m_nCurrentPage; }
    void SetCurrentPage(int page) override { m_nCurrentPage = page; }
    void OpenPage(int page) override;
    bool ScanWindowOpen() const override { return m_bPiPoActive == 1; }
    void RunToolsEntryAgain() override { DoReadstruct(); }
    void SelectDrive() override { OnSelchangeDevicescombo(); }
    void ShowHomePage() override { OnHomePage(); }
    CTextProgressCtrl& Progress() override { return *m_Progress; }
    CTextProgressCtrl& Progress2() override { return *m_Progress2; }
    PageEvents& Events() override { return *m_pPageEvents; }
    MountRoots& Mounts() override { return *m_pMountRoots; }
    std::shared_ptr<void>& SharedSlot(std::type_index part) override { return m_Pages.SharedSlot(part); }

    // Layout and look (QuenzaDlgLayout.cpp).
    void CreateControls();
    void MapCommands();
    void CheckSystemDPI();
    void ApplyFixedSize();
    void InitToolTips();
    void RemoveToolTips();
    void SetToolTips(bool shown);  // the same controls get their tooltips and lose them
    void ApplyOutputColours();
    void ResizeDlgItem(int id, UiSize size);
    // Start-up and shutdown (QuenzaDlg.cpp).
    void InitMemberVariables();
    void InitDisplays();
    void InitWindowPos();
    void DoDigitalInterrogationBox();
    void InitInstallDirectory();
    void StartDriveWatcher();
    void SaveWindowPosition();
    void DeleteStatusAreaIcon() { m_Presence.DeleteStatusAreaIcon(); }
    // The look, presence and update commands (QuenzaDlgPresence.cpp).
    void MapPresenceCommands();
    // After the settings' OK: what changed, applied to the running window.
    void ApplySettings();
    // Messages (QuenzaDlgMessages.cpp).
    bool PreTranslateKey(QKeyEvent* event);
    void OnReportChanged(WPARAM change);
    void OnDeviceChange(WPARAM event, LPARAM lParam);
    void OnMediaArrival(bool currentDrive);
    void OnMediaRemoval();
    void RescanDrives();
    void RescanNow();
    void StartupStep();
    void OpenCommandLineFile();
    // The changes the workers made to the test-page state shown.
    void ApplyTestPageChanges() override;
    // Drive selection (QuenzaDlgPages.cpp).
    void FillDeviceCombo();
    void SelectListedDrive();
    void OnDeviceSelected();
    void RefreshPageAfterSelection();
    void ShowTextPageControls();
    void RestorePageButtons(bool toolsToo) override;
    void ShowComboBoxes() override;
    void ShowNotice(const WrapperNotice& notice) override;
    // The pages and the tools list (QuenzaDlgPageTable.cpp): the objects of
    // PageClasses() made, their command buttons bound; a page's handler
    // found by its row, a tools entry's by its number.
    void BindPagesAndTools();
    MainWindowPage* PageFor(int page) const { return m_Pages.PageFor(page); }
    // Makes a page current and shows what its row says it shows.
    void ShowPage(int page) override;
    // A page button: the page's own command or the speed test page's.
    void RunPageCommand(const char* PageRow::*name, bool (MainWindowPage::*command)(int), int fallback = kNoPage);
    // Refuses a command while a test runs; true when refused.
    bool RefuseWhileTesting(bool withScanWindow, bool withCreateIso = true) override;
    void NotAvailableYet(const std::string& what);
    // The tools' and tests' worker (one at a time), and the page set back
    // when it ends.
    void RunToolWork(std::function<void()> work, std::function<void()> done = {}) override;
    std::shared_ptr<ChannelClaim> ClaimChannel(ChannelUse use) override;

    // Drive work: runs on the drive thread, then done on this thread; when
    // nothing runs an action without work runs at once. After the exit
    // nothing is started, and a done still waiting is dropped.
    void RunDriveWork(std::function<void()> work, std::function<void()> done = {}) override;
    void WhenDriveIdle(std::function<void()> action) override;

    std::unique_ptr<CDigitalMessageBox> m_pInterrogationBox;
    std::unique_ptr<DriveWatcher> m_pWatcher;
    bool m_bRescanPending = false;
    bool m_bExited = false;
    QFont m_Font;
    CThemeHelperST m_ThemeHelper;

    QComboBox* m_cbDevices = nullptr;
    QComboBox* m_cbTools = nullptr;
    CMyEdit* m_edOutput = nullptr;
    CMatrixStatic* m_MatrixStatus = nullptr;
    CTextProgressCtrl* m_Progress = nullptr;
    CTextProgressCtrl* m_Progress2 = nullptr;
    CXPStyleButtonST* m_btnStart = nullptr;
    CXPStyleButtonST* m_btnStop = nullptr;
    CXPStyleButtonST* m_btnSave = nullptr;

    // The desktop's services, then what uses them (gone in the reverse order).
    std::unique_ptr<TrayService> m_pTray;
    std::unique_ptr<WebFetcher> m_pFetcher;
    std::unique_ptr<TimerPort> m_pTimers;
    MainWindowLook m_Look{*this};
    TrayPresence m_Presence;
    UpdateChecker m_Updates;
    QIcon m_hIcon;  // the program's icon

    std::unique_ptr<MountRoots> m_pMountRoots = std::make_unique<SystemMountRoots>();
    std::unique_ptr<PageEvents> m_pPageEvents;  // the pages' workers' events, shown by this window
    PageSet m_Pages;

    // Last: their threads run work on m_Core until they are gone.
    DriveJobRunner m_ToolJobs;  // the tests and the ISO page's tools, one at a time
    DriveJobRunner m_DriveJobs;
};
