#pragma once

#include "core/base/DriveJobRunner.h"
#include "core/app/MainDialogCore.h"
#include "core/app/MainPages.h"
#include "core/app/MainWindowIds.h"
#include "core/app/MainWindowRules.h"
#include "core/app/TestPageState.h"
#include "core/tools/testpage/PageEvents.h"
#include "core/info/DriveInfoControls.h"
#include "core/ui/UiGeometry.h"
#include "gui/ui/BaseDialog.h"
#include "gui/ui/Dialog.h"
#include "gui/ui/ModelessWindow.h"
#include "gui/ui/ThemeHelperST.h"
#include "gui/tools/sectorview/GetLBA.h"
#include "platform/devices/MountRoots.h"

#include <QFont>
#include <QRect>

#include <functional>
#include <map>
#include <memory>
#include <string>

class CButtonST;
class CGraphStatic;
class CHashPages;
class CDigitalMessageBox;
class CMatrixStatic;
class CMyEdit;
class CPiPo;
class CTextProgressCtrl;
class CXPStyleButtonST;
class DriveWatcher;
class QComboBox;
class QListWidget;

// Controls of the main window.
enum MainControl : int {
    IDC_OUTPUT = 1000,
    IDC_SETTINGS = 1006,
    IDC_MEDIAINFO = 1004,
    IDC_DRIVEINFO = 1005,
    IDC_COMPARE = 1007,
    IDC_ERASE = 1026,
    IDC_ABOUT = 1034,
    IDC_COPY = 1061,
    IDC_SNAPSHOT = 1064,
    IDC_SPEEDTEST = 1065,
    IDC_ERRORTEST = 1066,
    IDC_SYSINFO = 1067,
    IDC_GRAPHVIEWER = 1068,
    IDC_HDDTEST = 1069,
    IDC_DEVICES = 1087,
    IDC_EJECT = 1088,
    IDC_TOOLS = 1090,
    IDC_BOOKTYPE = 1091,
    IDC_HOMEPAGE = 1097,
    IDC_HELP = 1102,
    IDC_STATUS = 1138,
    IDC_STOP = 1273,
    IDC_START = 1276,
    IDC_SAVE = 1289,
    IDC_MEDIATYPE = 1290,
    IDC_REFRESH = 1294,
    IDC_PROGRESS2 = 1297,
    IDC_MEDIAID = 1303,
    IDC_PROGRESS = 1306,
    IDC_SAVERAW = 1326,
    IDC_PIPO = 1356,
};

// The main window: the drive list, the "Tools & Utilities" list, the pages
// and the commands. Its drive side and text live in m_Core; drive commands
// run on m_DriveJobs' thread and their results come back as messages.
class CQuenzaDlg : public CDialog {
    Q_OBJECT
    friend class CHashPages;  // a page of this window, in a folder of its own

public:
    static constexpr int IDD = 102;
    explicit CQuenzaDlg(QWidget* parent = nullptr);
    // Drives from the given sources instead of the machine and the environment (tests).
    explicit CQuenzaDlg(DriveSources sources, QWidget* parent = nullptr);
    ~CQuenzaDlg() override;

    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnTimer(int id) override;
    void OnClose() override;
    void OnOK() override;
    void OnCancel() override;
    void OnExitProgram();

    // Drive selection and pages.
    void OnSelchangeDevicescombo();
    void OnSelchangeToolscombo();
    int DoReadstruct();
    void OnDriveinfo();
    void ListDriveFeaturesProfiles();
    void ListDriveModePages();
    void OnStart();
    void OnStop();
    void OnSave();
    // The ends of the read error test, the compare and the ISO creation.
    void EndErrorTestUi();
    void EndCompareUi();
    void EndCreateIsoUi();
    // The ISO page (gui/tools/iso): compares and ISO creation.
    void OnISOPage();
    void ShowISOPage(bool show);
    void SetupISOPage(bool clearMap);
    void StartCompare();
    void StartCreateIso();
    void OnCompareIsoRadio();
    void OnCompareVideoRadio();
    // The read error test page (gui/tools/errortest).
    void OnErrorTestPage();
    void ShowErrorTestPage(bool show);
    void SetupErrorTestPage(bool clearMap);
    // The three result labels the error page renames, and their names elsewhere.
    void NameErrorPageLabels(bool errorPage);
    void StartErrorTest();
    // The read speed test page (gui/tools/speed).
    void OnSpeedTest();
    void ShowSpeedTestPage(bool show);
    void SetupSpeedTestPage(bool clearGraph);
    void ApplySpeedGraphColours();
    // The test pages' result fields (gui/tools/testpage).
    void ResetTestResults();
    // The loaded disc's type in the page's Media Type field.
    void ShowPageMediaType();
    void OnRefresh();
    // The media information report, the burner information and the complete
    // media code (gui/info).
    void OnMediaInfo();
    void GeneralInfo();
    int ShowCompleteMediaCode();
    void ShowBurnerInfo();
    void OnSettings();
    void OnPiPoScan();
    void OnGraphFileViewer();

    // Small commands.
    void OnEject();
    void OnHelp();
    void OnHomePage();
    void OnCopyToClipboard();
    void OnSaveRawData();
    void OnEditStatusComment();

    // Show and hide the page groups.
    void ShowInfoDisplay(bool show);
    void ShowInfoDisplayWithProgress(bool show);
    void ShowDriveInfoPage(bool show);
    void ShowListOutput(bool show);
    void ShowMainButtons(bool show);
    void ClearDriveInfoFields();
    void ShowStatus(const std::string& text) { m_Core.m_Report.ShowStatus(text); }

    // Runs the drive work given so far to its end and shows what it found
    // (tests, and code that must see the result).
    void WaitForDriveWork();
    // Runs the drive work and the tool's worker to their ends (tests).
    void WaitForToolWork();
    DriveWatcher* Watcher() const { return m_pWatcher.get(); }
    // Where discs are mounted (tests give their own).
    void SetMountRoots(std::unique_ptr<MountRoots> roots) { m_pMountRoots = std::move(roots); }

    int m_bPiPoActive = 0;
    CPiPo* m_pPiPo = nullptr;  // the scan window while it runs
    std::string m_strCmdLine1;
    std::string m_strCmdLine2;
    int m_nCurrentPage = kPageDriveInfo;
    int m_nElapsedSeconds = 0;
    int m_bHashSha1 = 0;
    int m_bHashSha2 = 0;
    int m_nCompareSource = 0;  // "ISO", "DVD-Video", "Folder": 0, 1, 2
    int m_nSpeedIndex = -1;  // the speed list's entry
    int m_nSpeedRequest = 0;  // "Request CLV", "Request CAV": 0, 1
    int m_nPreSpinIndex = -1;  // the pre-spin list's entry: its seconds
    std::uint64_t m_qwTestStartMs = 0;  // the speed page's set-up, on the drive's wait clock
    std::map<int, std::string> m_strInfo;  // the drive information texts by control
    std::string m_strErrorTestStopped;  // how far a stopped error test got, for its list file
    // The modeless tool windows (sector viewer, custom command), owned here.
    ModelessWindow<CGetLBA> m_pGetLbaDlg;
    ModelessWindow<CBaseDialog> m_pUserCommandDlg;

    MainDialogCore m_Core;
    // What the test pages show beside the report, written by the tools' workers.
    TestPageState m_TestPage;
    // The disc hash and the file and folder hash pages (gui/tools/hash).
    std::unique_ptr<CHashPages> m_pHashPages;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // Layout and look (QuenzaDlgLayout.cpp).
    void CreateControls();
    void MapCommands();
    void CreateDriveInfoPage();
    void CheckSystemDPI();
    void ApplyFixedSize();
    void InitToolTips();
    void RemoveToolTips();
    void SetToolTips(bool shown);  // the same controls get their tooltips and lose them
    void ApplyOutputColours();
    void PlaceDlgItem(int id, const UiRect& at);
    void ResizeDlgItem(int id, UiSize size);
    // Start-up and shutdown (QuenzaDlg.cpp).
    void InitMemberVariables();
    void InitDisplays();
    void InitWindowPos();
    void DoDigitalInterrogationBox();
    void InitInstallDirectory();
    void StartDriveWatcher();
    void SaveWindowPosition();
    void DeleteStatusAreaIcon() {}  // the tray icon comes with the window's tray support
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
    // The sector viewer (gui/tools/sectorview): the address window slid
    // out, and its "Fwd" and "Rev": one block shown as a dump, the address
    // stepped on or back once it was read.
    void OnSectorViewer();
    void ReadSectorForViewer(WPARAM lba, bool forward);
    UiRect MainWindowRect() const;
    // Drive selection (QuenzaDlgPages.cpp).
    void FillDeviceCombo();
    void SelectDrive();
    void OnDeviceSelected();
    void RefreshPageAfterSelection();
    void DisplayDriveInfo(const DriveInfoFacts& facts);
    void ShowTextPageControls();
    // Drive list (and tools list) usable, Start on, Stop off: a page at rest.
    void RestorePageButtons(bool toolsToo);
    void ShowComboBoxes();
    void ShowNotice(const WrapperNotice& notice);
    // The pages and the tools list (QuenzaDlgPageTable.cpp): what a page
    // does, bound to its row of MainPages(), and what each entry of the tools
    // list does. A command not bound answers that it is not available yet.
    struct PageHandlers {
        std::function<void()> driveSelected = {};  // another drive became current
        std::function<void()> discArrived = {};  // a disc came into the current drive
        std::function<void()> discRemoved = {};  // the current drive's disc went
        std::function<void()> start = {};
        std::function<void()> stop = {};
        std::function<void()> save = {};
        std::function<void()> refresh = {};  // the Refresh button
    };
    void BindPagesAndTools();
    const PageHandlers& HandlersOf(int page) const;
    // Makes a page current and shows what its row says it shows.
    void ShowPage(int page);
    // A page button: the page's own command or the speed test page's.
    void RunPageCommand(const char* PageRow::*name, std::function<void()> PageHandlers::*handler);
    void StartSpeedTest();
    void StopSpeedTest();
    // Save on the test pages: the results list as the read-error list file.
    void SaveReadErrorList();
    void StopErrorTest();
    void ClearMediaInfoReport();
    // Refuses a command while a test runs; true when refused.
    bool RefuseWhileTesting(bool withScanWindow, bool withCreateIso = true);
    void NotAvailableYet(const std::string& what);
    // The test pages (gui/tools/testpage): their controls, and the changes
    // the workers made shown.
    void CreateTestPageControls();
    void CreateSpeedPageControls();
    std::vector<int> AllTestPageControls() const;
    std::vector<int> SpeedPageControls() const;
    // The result rows' labels and fields, as a page stands them.
    void PlaceResultRows(int labelX, int fieldX, int fieldWidth);
    void ShowTestPageControls(const std::vector<int>& ids, bool show);
    void ApplyTestPageChanges();
    // The tools' and tests' worker (one at a time), and the page set back
    // when it ends.
    void RunToolWork(std::function<void()> work, std::function<void()> done = {});
    // The drive's channel for one long operation, held by whoever holds the
    // pointer (the worker moves it out and keeps it to its end); null while
    // another operation holds it.
    std::shared_ptr<ChannelClaim> ClaimChannel(ChannelUse use);

    // Drive work: runs on the drive thread, then done on this thread; when
    // nothing runs an action without work runs at once. After the exit
    // nothing is started, and a done still waiting is dropped.
    void RunDriveWork(std::function<void()> work, std::function<void()> done = {});
    void WhenDriveIdle(std::function<void()> action);

    std::map<int, PageHandlers> m_PageHandlers;
    std::map<int, std::function<void()>> m_ToolsHandlers;  // by item number
    std::unique_ptr<CDigitalMessageBox> m_pInterrogationBox;
    std::unique_ptr<DriveWatcher> m_pWatcher;
    bool m_bRescanPending = false;
    bool m_bExited = false;
    QFont m_Font;
    QFont m_IndicatorFont;
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
    QListWidget* m_lbResults = nullptr;
    QComboBox* m_cbSpeed = nullptr;
    QComboBox* m_cbPreSpin = nullptr;
    int m_nResultFieldX = 612;  // where the result fields stand on the page shown
    int m_nResultFieldWidth = 118;
    CGraphStatic* m_Graph = nullptr;
    std::map<int, QRect> m_driveInfoPlaces;  // the shared fields' places on the drive information page
    std::vector<QWidget*> m_driveInfoPage;  // every control of the drive information page

    std::unique_ptr<MountRoots> m_pMountRoots = std::make_unique<SystemMountRoots>();
    std::unique_ptr<PageEvents> m_pPageEvents;  // the tools' events, shown by this window

    // Last: their threads run work on m_Core until they are gone.
    DriveJobRunner m_ToolJobs;  // the tests and the ISO page's tools, one at a time
    DriveJobRunner m_DriveJobs;
};
