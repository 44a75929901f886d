#include "gui/tools/erase/EraseDlg.h"

#include "core/base/LogFile.h"
#include "core/base/UserPrompt.h"
#include "gui/ui/BaseDialog.h"
#include "gui/ui/ShellOpen.h"
#include "gui/ui/TextProgressCtrl.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace erasing;

namespace {

struct CheckBox {
    int id;
    const char* caption;
};

// The check boxes in their places; there is no "Automatically Shutdown PC
// when done" here: a forced power-off would lose other programs' work.
constexpr CheckBox kCheckBoxes[] = {
    {IDC_ERASE_OPTION, "Erase"},      {IDC_QUICK, "Quick"},     {IDC_FULL_FORMAT, "Full Format"},
    {IDC_FAST_FORMAT, "Fast Format"}, {IDC_RESTART, "Restart"}, {IDC_COMPATIBLE_CLOSE, "Compatible Close"},
};

constexpr const char* kCloseWhileRunning
    = "The drive will go on erasing; the disc is unusable until it ends.\n\nClose the window?";

}  // namespace

CEraseDlg::CEraseDlg(DriveContext& drive, UserPrompt* prompt, QWidget* parent, DeviceUseProbe probe) :
    CDialog(IDD, parent), m_pPrompt(prompt), m_Sink(this, *this), m_Control(drive, m_Sink, prompt, std::move(probe))
{
    setWindowTitle(QString::fromStdString(m_Control.State().title));
    auto* caption = new QLabel(this);
    caption->setWordWrap(true);
    BindControl(IDC_ERASE_CAPTION, caption);
    auto* boxes = new QGridLayout;
    int place = 0;
    for (const CheckBox& box : kCheckBoxes) {
        auto* check = new QCheckBox(box.caption, this);
        BindControl(box.id, check);
        boxes->addWidget(check, place / 2, place % 2);
        ++place;
    }
    auto* eject = new QCheckBox("Eject Disc", this);
    BindControl(IDC_ERASE_EJECT, eject);
    auto* status = new QLabel(this);
    status->setWordWrap(true);
    status->setMinimumHeight(40);
    BindControl(IDC_ERASE_STATUS, status);
    m_Progress = new CTextProgressCtrl(this);
    m_Progress->setMinimumHeight(18);
    BindControl(IDC_ERASE_PROGRESS, m_Progress);
    auto* help = new QPushButton("&Help", this);
    auto* go = new QPushButton("&Go", this);
    auto* close = new QPushButton("Cl&ose", this);
    BindControl(IDC_ERASE_HELP, help);
    BindControl(IDOK, go);
    BindControl(IDCANCEL, close);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(help);
    buttons->addStretch();
    buttons->addWidget(go);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(caption);
    layout->addLayout(boxes);
    layout->addWidget(eject);
    layout->addWidget(status);
    layout->addWidget(m_Progress);
    layout->addLayout(buttons);
    setMinimumWidth(420);

    MapCommand(IDC_FULL_FORMAT, [this] { OnCheck(&EraseControl::OnFullFormat); });
    MapCommand(IDC_ERASE_OPTION, [this] { OnCheck(&EraseControl::OnEraseOption); });
    MapCommand(IDC_FAST_FORMAT, [this] { OnCheck(&EraseControl::OnFastFormat); });
    MapCommand(IDC_RESTART, [this] { OnCheck(&EraseControl::OnRestart); });
    for (int id : {IDC_QUICK, IDC_ERASE_EJECT})
        MapCommand(id, [this] { UpdateData(true); });
    MapCommand(IDC_COMPATIBLE_CLOSE, [] {});  // the box only keeps its state
    MapCommand(IDC_ERASE_HELP, [this] { OnHelp(); });
}

CEraseDlg::~CEraseDlg()
{
    m_Control.Stop();
    m_Control.Join();
}

bool CEraseDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_Control.InitDialog();
    setWindowTitle(QString::fromStdString(m_Control.State().title));
    m_Progress->SetRange(0, 100);
    m_Progress->SetPos(0);
    ApplyState();
    ApplyTranslucency(*this);
    return true;
}

void CEraseDlg::DoDataExchange(CDataExchange& dx)
{
    EraseChecks& checks = m_Control.State().checks;
    DDX_Check(dx, IDC_ERASE_OPTION, checks.erase);
    DDX_Check(dx, IDC_FULL_FORMAT, checks.fullFormat);
    DDX_Check(dx, IDC_FAST_FORMAT, checks.fastFormat);
    DDX_Check(dx, IDC_RESTART, checks.restart);
    DDX_Check(dx, IDC_COMPATIBLE_CLOSE, checks.compatibleClose);
    DDX_Check(dx, IDC_QUICK, checks.quick);
    DDX_Check(dx, IDC_ERASE_EJECT, checks.eject);
    if (!dx.m_bSaveAndValidate)
        SetDlgItemText(IDC_ERASE_STATUS, m_strStatus);
}

void CEraseDlg::ApplyState()
{
    const EraseDialogState& state = m_Control.State();
    SetDlgItemText(IDC_ERASE_CAPTION, state.caption);
    for (const CheckBox& box : kCheckBoxes)
        EnableDlgItem(box.id, state.Enabled(box.id));
    UpdateData(false);
}

void CEraseDlg::OnCheck(void (EraseControl::*handler)())
{
    UpdateData(true);
    (m_Control.*handler)();
    ApplyState();
}

void CEraseDlg::SetStatusText(const std::string& text)
{
    m_strStatus = text;
    SetDlgItemText(IDC_ERASE_STATUS, text);
}

void CEraseDlg::SetProgress(int percent)
{
    m_Progress->SetPos(percent);
}

void CEraseDlg::SetRunning(bool running)
{
    EnableDlgItem(IDOK, !running);
    EnableDlgItem(IDCANCEL, !running);
    if (running)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void CEraseDlg::OnOK()
{
    if (m_Control.Running())
        return;
    UpdateData(true);
    EnableDlgItem(IDOK, false);
    EnableDlgItem(IDCANCEL, false);
    if (m_Control.Go()) {
        SetRunning(true);
        return;
    }
    EnableDlgItem(IDOK, true);
    EnableDlgItem(IDCANCEL, true);
}

void CEraseDlg::Ended(const EraseResult& result)
{
    if (result.ReplacesStatus())
        SetStatusText(result.status);
    SetRunning(false);
    m_Control.Join();
    if (m_bCloseWhenEnded) {
        m_bLeftDriveWorking = result.end == EraseEnd::Stopped;
        CDialog::OnCancel();
    }
}

void CEraseDlg::OnCancel()
{
    if (m_Control.Running()) {  // the close box or Escape during an operation
        const bool close = !m_bCloseWhenEnded && m_pPrompt
            && m_pPrompt->MessageBox(kCloseWhileRunning, "Close the window?",
                                     MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2)
                == IDYES;
        if (!close)
            return;
        if (m_Control.Running()) {
            m_bCloseWhenEnded = true;
            m_Control.Stop();
            return;
        }  // it ended while the question was open
    }
    CDialog::OnCancel();
}

void CEraseDlg::OnHelp()
{
    OpenHelpPage("Formatting.htm");
}
