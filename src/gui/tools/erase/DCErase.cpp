#include "gui/tools/erase/DCErase.h"

#include "gui/ui/BaseDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

using namespace erasing;

CDCErase::CDCErase(DriveContext& drive, UserPrompt* prompt, QWidget* parent, DeviceUseProbe probe) :
    CDialog(IDD, parent), m_Sink(this, *this), m_Control(drive, m_Sink, prompt, std::move(probe))
{
    setWindowTitle("DC Erase");
    auto* what = new QLabel(
        "This function can restore DVD-RW,  DVD+RW and CD-RW media back to it original unused state.  You will also "
        "notice the media surface colour will be returned to its original new state.",
        this);
    what->setWordWrap(true);
    auto* which = new QLabel("This function is only supported by some Nu/QSI manufactured burners", this);
    which->setWordWrap(true);
    auto* status = new QLineEdit(this);
    status->setReadOnly(true);
    m_Progress = new QProgressBar(this);
    m_Progress->setRange(0, 100);
    m_Progress->setTextVisible(false);
    auto* full = new QPushButton("&Full Erase", this);
    auto* quick = new QPushButton("&Quick Erase", this);
    auto* stop = new QPushButton("&Stop", this);
    auto* close = new QPushButton("&Close", this);
    // Enter never starts an erase: Close is the default button.
    for (QPushButton* button : {full, quick, stop})
        button->setAutoDefault(false);
    close->setDefault(true);
    BindControl(IDC_DC_STATUS, status);
    BindControl(IDC_DC_PROGRESS, m_Progress);
    BindControl(IDC_FULL_ERASE, full);
    BindControl(IDC_QUICK_ERASE, quick);
    BindControl(IDC_DC_STOP, stop);
    BindControl(IDCANCEL, close);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(quick);
    buttons->addWidget(full);
    buttons->addWidget(stop);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(what);
    layout->addWidget(which);
    layout->addWidget(status);
    layout->addWidget(m_Progress);
    layout->addLayout(buttons);
    setMinimumWidth(440);

    EnableDlgItem(IDC_FULL_ERASE, false);
    EnableDlgItem(IDC_QUICK_ERASE, false);
    MapCommand(IDC_FULL_ERASE, [this] { OnErase(&DcEraseControl::OnFullErase); });
    MapCommand(IDC_QUICK_ERASE, [this] { OnErase(&DcEraseControl::OnQuickErase); });
    MapCommand(IDC_DC_STOP, [this] { m_Control.OnStop(); });
}

CDCErase::~CDCErase()
{
    m_Control.OnStop();
    m_Control.Join();
}

bool CDCErase::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_Progress->setValue(0);
    if (!m_Control.InitDialog()) {
        EndDialog(0);
        return true;
    }
    EnableDlgItem(IDC_FULL_ERASE, true);
    EnableDlgItem(IDC_QUICK_ERASE, true);
    ApplyTranslucency(*this);
    return true;
}

int CDCErase::Progress() const
{
    return m_Progress->value();
}

void CDCErase::SetStatus(const std::string& text)
{
    m_strStatus = text;
    SetDlgItemText(IDC_DC_STATUS, text);
}

void CDCErase::SetProgress(int percent)
{
    m_Progress->setValue(percent);
}

void CDCErase::SetRunning(bool running)
{
    for (int id : {static_cast<int>(IDC_QUICK_ERASE), static_cast<int>(IDC_FULL_ERASE), IDCANCEL})
        EnableDlgItem(id, !running);
    EnableDlgItem(IDC_DC_STOP, true);
}

void CDCErase::OnErase(bool (DcEraseControl::*handler)())
{
    if (m_Control.Running())
        return;
    SetRunning(true);
    if (!(m_Control.*handler)())
        SetRunning(false);
}

void CDCErase::Ended(const EraseResult& result)
{
    if (result.ReplacesStatus())
        SetStatus(result.status);
    SetRunning(false);
    m_Control.Join();
    if (m_bCloseWhenEnded)
        CDialog::OnCancel();
}

void CDCErase::OnCancel()
{
    if (m_Control.Running()) {
        m_bCloseWhenEnded = true;
        m_Control.OnStop();
        return;
    }
    CDialog::OnCancel();
}
