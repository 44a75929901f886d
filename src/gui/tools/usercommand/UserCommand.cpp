#include "gui/tools/usercommand/UserCommand.h"

#include "core/app/MainDialogCore.h"
#include "core/base/AppProfile.h"
#include "core/base/HexDump.h"
#include "core/base/UserPrompt.h"
#include "core/tools/usercommand/UserCommandExamples.h"
#include "core/tools/usercommand/UserCommandHost.h"
#include "gui/app/FileDialogs.h"
#include "gui/ui/Beep.h"
#include "gui/ui/ButtonST.h"
#include "gui/ui/EditEx.h"
#include "gui/ui/ShellOpen.h"
#include "gui/ui/SlidingWindow.h"
#include "gui/ui/WarningDlg.h"
#include "gui/ui/XPStyleButtonST.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr std::size_t kClearedOnOpen = 2052;

int CdbId(int index)
{
    return CUserCommand::IDC_CDB0 + index;
}

}  // namespace

CUserCommand::CUserCommand(UserCommandHost& host, QWidget* mainWindow) :
    CBaseDialog(IDD, mainWindow), m_host(host), m_Tool(host, m_Panel), m_pMainWindow(mainWindow)
{
    setWindowTitle("Send Custom Command");
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint);
    CreateControls();
    m_Tool.SetFieldsChanged([this] { RefreshControls(); });
    resize(UserCommandPanel::kShape.width, UserCommandPanel::kShape.height);
}

void CUserCommand::CreateControls()
{
    const auto numberEdit = [this](int id, bool hex, int maxChars) {
        auto* edit = new CCEditEx(this);
        edit->SetHexMode(hex);
        edit->setMaxLength(maxChars);
        BindControl(id, edit);
        return edit;
    };
    auto* read = new QCheckBox("READ", this);
    auto* write = new QCheckBox("WRITE", this);
    BindControl(IDC_READ, read);
    BindControl(IDC_WRITE, write);
    auto* bufferSize = numberEdit(IDC_BUFFERSIZE, false, 5);
    auto* cdbSize = numberEdit(IDC_CDBSIZE, false, 2);
    auto* top = new QGridLayout;
    top->addWidget(read, 0, 0);
    top->addWidget(write, 1, 0);
    top->addWidget(new QLabel("Buffer Size (decimal)", this), 0, 1);
    top->addWidget(bufferSize, 0, 2);
    top->addWidget(new QLabel("CDB Size (decimal)", this), 1, 1);
    top->addWidget(cdbSize, 1, 2);
    auto* timeout = new QLabel(QString("Timeout %1 s").arg(UserCommandPanel::kTimeoutSeconds), this);
    BindControl(IDC_TIMEOUT, timeout);
    top->addWidget(timeout, 0, 3);
    auto* cdbSizeNote = new QLabel(this);
    BindControl(IDC_CDBSIZENOTE, cdbSizeNote);
    top->addWidget(cdbSizeNote, 2, 1, 1, 3);

    auto* cdb = new QGridLayout;
    cdb->setHorizontalSpacing(4);
    cdb->setVerticalSpacing(1);
    for (int i = 0; i < UserCommandPanel::kCdbBytes; ++i) {
        const int row = i / 6 * 2;
        const int column = i % 6;
        cdb->addWidget(new QLabel(QString("CDB %1").arg(i), this), row, column);
        m_edCdb[static_cast<std::size_t>(i)] = numberEdit(CdbId(i), true, 2);
        cdb->addWidget(m_edCdb[static_cast<std::size_t>(i)], row + 1, column);
        MapNotify(CdbId(i), Notify::EditChange, [this] { OnCdbByteChanged(); });
        MapNotify(CdbId(i), Notify::KillFocus, [this] { OnCdbByteLeft(); });
    }

    m_cbExamples = new QComboBox(this);
    QFont courier("Courier");
    courier.setStyleHint(QFont::TypeWriter);
    courier.setPointSize(8);
    m_cbExamples->setFont(courier);
    for (const UserCommandExample& example : UserCommandExamples())
        m_cbExamples->addItem(QString::fromUtf8(example.name));
    BindControl(IDC_EXAMPLES, m_cbExamples);

    auto* offset = numberEdit(IDC_OFFSET, true, 5);
    auto* value = numberEdit(IDC_VALUE, true, 2);
    auto* prompt = new QCheckBox("Prompt before Send", this);
    BindControl(IDC_PROMPT, prompt);
    auto* get = new CXPStyleButtonST("Get", this);
    auto* set = new CXPStyleButtonST("Set", this);
    BindControl(IDC_GET, get);
    BindControl(IDC_SET, set);
    auto* single = new QGridLayout;
    single->addWidget(new QLabel("Buffer Offset (hex)", this), 0, 0);
    single->addWidget(offset, 0, 1);
    single->addWidget(get, 0, 2);
    single->addWidget(new QLabel("Value (hex)", this), 1, 0);
    single->addWidget(value, 1, 1);
    single->addWidget(set, 1, 2);
    single->addWidget(prompt, 0, 3);

    struct ButtonRow {
        int id;
        const char* caption;
        const char* tooltip;
    };
    const ButtonRow buttons[] = {
        {IDC_SEND, "&Send", "Send the command to the drive"},
        {IDC_EXAMPLE, "&Example", "Fills in an example command"},
        {IDC_CLEARCDB, "Clear CD&B", "Clears the CDB fields"},
        {IDC_DEFAULTS, "Set &Defaults", "Resets to default settings"},
        {IDC_CLEARBUFFER, "C&lear Buffer", "Clears the buffer"},
        {IDC_PRELOAD, "Pre-l&oad Buffer", "Pre-load the buffer with data for the command"},
        {IDC_HELPBUTTON, "&Help", "Opens the help documentation"},
        {IDCANCEL, "&Close", "Closes the window"},
    };
    auto* commands = new QGridLayout;
    commands->setSpacing(2);
    int at = 0;
    for (const ButtonRow& row : buttons) {
        auto* button = new CXPStyleButtonST(row.caption, this);
        button->SetTooltipText(row.tooltip);
        BindControl(row.id, button);
        m_buttons.push_back(button);
        commands->addWidget(button, at / 4, at % 4);
        ++at;
    }
    for (CXPStyleButtonST* button : {get, set}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(3);
    layout->addLayout(top);
    layout->addLayout(cdb);
    layout->addWidget(m_cbExamples);
    layout->addLayout(single);
    layout->addLayout(commands);

    MapCommand(IDC_SEND, [this] { OnSend(); });
    MapCommand(IDC_HELPBUTTON, [this] { OnHelp(); });
    MapCommand(IDC_EXAMPLE, [this] { OnExample(); });
    MapCommand(IDC_CLEARCDB, [this] { OnClearCdb(); });
    MapCommand(IDC_DEFAULTS, [this] { OnSetDefaults(); });
    MapCommand(IDC_CLEARBUFFER, [this] { OnClearBuffer(); });
    MapCommand(IDC_PRELOAD, [this] { OnPreloadBuffer(); });
    MapCommand(IDC_GET, [this] { OnGet(); });
    MapCommand(IDC_SET, [this] { OnSet(); });
    MapCommand(IDCANCEL, [this] { OnCancel(); });
    MapCommand(IDC_PROMPT, [this] { OnPromptClicked(); });
    MapCommand(IDC_READ, [this] { OnDirectionClicked(); });
    MapCommand(IDC_WRITE, [this] { OnDirectionClicked(); });
    MapNotify(IDC_EXAMPLES, Notify::SelChange, [this] { OnExampleChosen(); });
    MapNotify(IDC_BUFFERSIZE, Notify::EditChange, [this] { OnCdbByteChanged(); });
    MapNotify(IDC_CDBSIZE, Notify::EditChange, [this] { OnCdbSizeChanged(true); });
    MapNotify(IDC_CDBSIZE, Notify::KillFocus, [this] { OnCdbSizeChanged(false); });
    MapNotify(IDC_OFFSET, Notify::EditChange, [this] { OnUpperCaseEdit(IDC_OFFSET); });
    MapNotify(IDC_VALUE, Notify::EditChange, [this] { OnUpperCaseEdit(IDC_VALUE); });
    for (QWidget* edit : findChildren<CCEditEx*>())
        edit->installEventFilter(this);
}

bool CUserCommand::OnInitDialog()
{
    m_bRefreshing = true;
    CBaseDialog::OnInitDialog();
    for (CXPStyleButtonST* button : m_buttons) {
        button->SetThemeHelper(&m_ThemeHelper);
        button->SetIconResources(0, BTNST_AUTO_GRAY);
        button->ShiftColor(BTNST_COLOR_BK_IN, 30);
        button->setAutoDefault(false);
    }
    RefreshControls();
    ApplyTranslucency(*this);
    return true;
}

void CUserCommand::DoDataExchange(CDataExchange& dx)
{
    DDX_Check(dx, IDC_READ, m_Panel.m_bRead);
    DDX_Check(dx, IDC_WRITE, m_Panel.m_bWrite);
    DDX_Text(dx, IDC_BUFFERSIZE, m_Panel.m_strBufferSize);
    for (int i = 0; i < UserCommandPanel::kCdbBytes; ++i)
        DDX_Text(dx, CdbId(i), m_Panel.m_strCdb[static_cast<std::size_t>(i)]);
    DDX_Text(dx, IDC_CDBSIZE, m_Panel.m_strCdbSize);
    DDX_Check(dx, IDC_PROMPT, m_Panel.m_bPrompt);
    DDX_Text(dx, IDC_OFFSET, m_Panel.m_strOffset);
    DDX_Text(dx, IDC_VALUE, m_Panel.m_strValue);
}

void CUserCommand::ReadControls()
{
    UpdateData(true);
}

void CUserCommand::RefreshControls()
{
    m_bRefreshing = true;
    m_Panel.ReadPrompt();
    UpdateData(false);
    for (int i = 0; i < UserCommandPanel::kCdbBytes; ++i)
        EnableDlgItem(CdbId(i), m_Panel.CdbByteEnabled(i));
    SetDlgItemText(IDC_CDBSIZENOTE, m_Panel.CdbSizeNote());
    m_bRefreshing = false;
}

void CUserCommand::StartSlide()
{
    m_rcMain = m_host.MainWindowRect();
    StartSlideTimer(*this, kSlideTimer, m_Panel.Slide().StartSlide());
    RefreshControls();
    m_cbExamples->setCurrentIndex(0);
    // Opening shows the (zeroed) buffer; closing leaves it as it is.
    if (!IsHidden())
        PostChecked(WM_USERCMDLAYOUT, 0);
}

void CUserCommand::OnTimer(int id)
{
    if (id != kSlideTimer) {
        CBaseDialog::OnTimer(id);
        return;
    }
    SlideTick(*this, kSlideTimer, m_Panel.Slide(), m_rcMain, m_pMainWindow);
}

void CUserCommand::Dock()
{
    m_rcMain = m_host.MainWindowRect();
    DockBeside(*this, m_Panel.Slide(), m_rcMain);
}

LRESULT CUserCommand::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CLOSEUSERCOMMAND) {
        DestroyWindow();
        return 0;
    }
    if (m_Tool.WindowProc(message, wParam, lParam))
        return 0;
    return CBaseDialog::WindowProc(message, wParam, lParam);
}

void CUserCommand::PostChecked(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (const auto refusal = m_Panel.BufferSizeRefusal()) {
        AppMessageBox(*refusal);
        return;
    }
    PostMessage(message, wParam, lParam);
}

void CUserCommand::SetBufferValue(std::uint8_t value)
{
    m_Panel.SetBufferValue(value);
    RefreshControls();
}

void CUserCommand::OnSend()
{
    ReadControls();
    if (m_Panel.ConfirmSend())
        PostMessage(WM_EXECUTECDB);
}

void CUserCommand::OnHelp()
{
    OpenHelpPage(kHelpTopic);
}

void CUserCommand::OnExample()
{
    AppMessageBox(UserCommandPanel::kExampleNotice);
    m_Panel.FillExample();
    RefreshControls();
}

void CUserCommand::OnClearCdb()
{
    ReadControls();
    m_Panel.ClearCdb();
    RefreshControls();
}

void CUserCommand::OnSetDefaults()
{
    m_Panel.SetDefaults();
    RefreshControls();
    OnClearBuffer();
}

void CUserCommand::OnClearBuffer()
{
    ReadControls();
    m_Panel.m_strPreloadPath.clear();
    PostChecked(WM_USERCMDLAYOUT, 0);
}

void CUserCommand::OnPreloadBuffer()
{
    ReadControls();
    const std::optional<std::string> path = ShowOpenFileDialog(this, "Select a bin file to pre-load in buffer",
                                                               "Binary Files (*.bin)", "Last BMP Directory", "bin");
    if (!path) {
        OnClearBuffer();
        return;
    }
    m_Panel.m_strPreloadPath = *path;
    PostChecked(WM_USERCMDLAYOUT, 1);
}

void CUserCommand::OnGet()
{
    ReadControls();
    PostChecked(WM_USERCMDVALUE, m_Panel.Offset());
}

void CUserCommand::OnSet()
{
    ReadControls();
    PostChecked(WM_USERCMDVALUES, m_Panel.Value(), static_cast<LPARAM>(m_Panel.Offset()));
}

void CUserCommand::OnPromptClicked()
{
    m_Panel.SetPrompt(IsDlgButtonChecked(IDC_PROMPT));
}

void CUserCommand::OnDirectionClicked()
{
    m_Panel.SwapDirection();
    RefreshControls();
}

void CUserCommand::OnExampleChosen()
{
    ReadControls();
    if (m_Panel.ChooseExample(m_cbExamples->currentIndex()) == UserCommandPanel::ExampleChoice::Heading)
        AppMessageBox(UserCommandPanel::kHeadingChosen);
    RefreshControls();
}

void CUserCommand::OnCdbByteChanged()
{
    if (m_bRefreshing)
        return;
    ReadControls();
    m_Panel.m_bDataEntered = 1;
}

void CUserCommand::OnCdbByteLeft()
{
    if (m_bCheckingSize)
        return;
    ReadControls();
    if (const auto refusal = m_Panel.CheckBufferSize()) {
        // The size that passed goes back before the box takes the focus.
        RefreshControls();
        m_bCheckingSize = true;
        AppMessageBox(*refusal);
        m_bCheckingSize = false;
        return;
    }
    // The buffer is shown again, not zeroed: a pre-loaded buffer stays for the command.
    if (!m_Panel.BufferSizeRefusal())
        m_Tool.ShowBuffer();
}

void CUserCommand::OnCdbSizeChanged(bool typed)
{
    if (m_bRefreshing)
        return;
    ReadControls();
    if (typed)
        m_Panel.m_bDataEntered = 1;
    if (!m_Panel.OnCdbSizeChange())
        MessageBeep(MB_ICONEXCLAMATION);
    RefreshControls();
}

void CUserCommand::OnUpperCaseEdit(int id)
{
    if (m_bRefreshing)
        return;
    auto* edit = Item<CCEditEx>(id);
    const QString upper = edit->text().toUpper();
    if (edit->text() != upper) {
        m_bRefreshing = true;
        edit->setText(upper);
        edit->end(false);
        m_bRefreshing = false;
    }
    ReadControls();
}

bool CUserCommand::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
            return true;
    }
    return CBaseDialog::eventFilter(watched, event);
}

void CUserCommand::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        event->accept();
        return;
    }
    CBaseDialog::keyPressEvent(event);
}

bool OpenUserCommand(ModelessWindow<CUserCommand>& panel, UserCommandHost& host, QWidget* mainWindow)
{
    MainDialogCore& core = host.Core();
    core.m_Report.m_bHexView = 1;
    host.ShowOutput();
    core.m_Report.ClearDisplay();
    host.RunDriveWork(
        [&core] {
            auto& buffer = core.m_Drives.m_DataBuffer;
            std::fill_n(buffer.begin(), std::min(kClearedOnOpen, buffer.size()), std::uint8_t{0});
        },
        {});
    if (GetAppProfileInt("WarningDialog", 0) == 0) {
        CWarningDlg warning(mainWindow);
        if (warning.DoModal() == 1)
            return false;
    }
    const bool created = !panel;
    if (created) {
        auto* window = new CUserCommand(host, mainWindow);
        window->SetModeless(true);
        window->Create();
        panel.Adopt(window);
    }
    CUserCommand* window = panel.Get();
    if (!created && !window->IsHidden()) {
        MessageBeep();
        return true;
    }
    window->show();
    window->StartSlide();
    return true;
}

int DumpTextPosition(const QPlainTextEdit& output, int position)
{
    const QTextBlock block = output.document()->findBlock(position);
    if (!block.isValid())
        return -1;
    return block.blockNumber() * (kHexDumpColumns + 2) + (position - block.position());
}
