#pragma once

#include "core/tools/usercommand/UserCommandPanel.h"
#include "core/tools/usercommand/UserCommandTool.h"
#include "gui/ui/BaseDialog.h"
#include "gui/ui/ModelessWindow.h"
#include "gui/ui/ThemeHelperST.h"

#include <array>

class CCEditEx;
class CXPStyleButtonST;
class QComboBox;
class QPlainTextEdit;
class UserCommandHost;

// The custom command panel "Send Custom Command": it slides out from under
// the main window's right edge, takes a CDB of 1 to 12 bytes, the direction
// and size of its data and the data buffer's bytes, and has the command
// sent to the current drive; the main window shows the buffer as a dump.
// Its buttons and fields post WM_EXECUTECDB and the WM_USERCMD* messages to
// the panel itself; WindowProc hands them to its UserCommandTool, which sends
// the command and fills the buffer through the host. Close slides it back;
// Enter does nothing here.
class CUserCommand : public CBaseDialog {
    Q_OBJECT

public:
    static constexpr int IDD = 181;
    static constexpr int IDC_SEND = 3;
    static constexpr int IDC_HELPBUTTON = 4;
    static constexpr int IDC_EXAMPLE = 5;
    static constexpr int IDC_CLEARCDB = 6;
    static constexpr int IDC_DEFAULTS = 7;
    static constexpr int IDC_READ = 1026;
    static constexpr int IDC_WRITE = 1027;
    static constexpr int IDC_CDB0 = 1250;  // to 1261 for bytes 0-11
    static constexpr int IDC_BUFFERSIZE = 1265;
    static constexpr int IDC_CDBSIZE = 1266;
    static constexpr int IDC_CDBSIZENOTE = 1267;  // the kernel's refusal of a short CDB
    static constexpr int IDC_TIMEOUT = 1269;
    static constexpr int IDC_PROMPT = 1268;
    static constexpr int IDC_EXAMPLES = 1270;
    static constexpr int IDC_PRELOAD = 1327;
    static constexpr int IDC_CLEARBUFFER = 1328;
    static constexpr int IDC_OFFSET = 1614;
    static constexpr int IDC_VALUE = 1615;
    static constexpr int IDC_GET = 1616;
    static constexpr int IDC_SET = 1617;
    static constexpr int kSlideTimer = 1;
    static constexpr const char* kHelpTopic = "Send Custom Command.htm";

    CUserCommand(UserCommandHost& host, QWidget* mainWindow);

    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange& dx) override;
    void OnTimer(int id) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnOK() override {}
    void OnCancel() override { StartSlide(); }

    // Opens or closes: slides out or back beside the main window.
    void StartSlide();
    bool IsHidden() const { return m_Panel.Slide().Hidden(); }
    // Docked beside the main window, when shown and not sliding.
    void Dock();
    // The fields written to the controls, the CDB size applied.
    void RefreshControls();
    void SetBufferValue(std::uint8_t value);
    // A double click in the main window's dump at a character position of
    // its text as the dump lays it out (see DumpTextPosition).
    void OnOutputEditNotify(int position) { m_Tool.PickDumpByte(position); }

    void OnSend();
    void OnHelp();
    void OnExample();
    void OnClearCdb();
    void OnSetDefaults();
    void OnClearBuffer();
    void OnPreloadBuffer();
    void OnGet();
    void OnSet();
    void OnPromptClicked();
    void OnDirectionClicked();
    void OnExampleChosen();

    UserCommandPanel& Panel() { return m_Panel; }
    UserCommandTool& Tool() { return m_Tool; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void CreateControls();
    void ReadControls();
    // Posts to the main window's side once the buffer size is a multiple of 16.
    void PostChecked(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    void OnCdbByteChanged();
    void OnCdbByteLeft();
    void OnCdbSizeChanged(bool typed);
    void OnUpperCaseEdit(int id);

    UserCommandHost& m_host;
    UserCommandPanel m_Panel;
    UserCommandTool m_Tool;
    QWidget* m_pMainWindow;
    UiRect m_rcMain;
    bool m_bRefreshing = false;  // texts written by the panel itself are no typing
    bool m_bCheckingSize = false;  // the refusal's box takes the focus: one box at a time
    std::array<CCEditEx*, UserCommandPanel::kCdbBytes> m_edCdb{};
    QComboBox* m_cbExamples = nullptr;
    std::vector<CXPStyleButtonST*> m_buttons;
    CThemeHelperST m_ThemeHelper;
};

// The tools list's "Send Custom Command": the output shows the data buffer
// (its first 2052 bytes zeroed), the warning comes first while
// "WarningDialog" is 0 (false when it is not accepted: the caller shows the
// drive information page), then the panel is made if needed and slides out,
// or a beep says it is out already.
bool OpenUserCommand(ModelessWindow<CUserCommand>& panel, UserCommandHost& host, QWidget* mainWindow);

// The character position in the dump's own layout (lines of 73 columns and
// CR LF) of a position in the output control's text.
int DumpTextPosition(const QPlainTextEdit& output, int position);
