#include "gui/tools/hash/GetMD5LBAs.h"

#include "core/base/Format.h"
#include "core/base/UserPrompt.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <climits>

namespace {

// The decimal value of a text as a 32-bit int; a text that is no number is 0.
int ValueOf(const std::string& text)
{
    return static_cast<int>(std::clamp<long>(LeadingLong(text), INT_MIN, INT_MAX));
}

}  // namespace

CGetMD5LBAs::CGetMD5LBAs(QWidget* parent) : CDialog(IDD, parent)
{
    setWindowTitle("Customise Start & End Logical Block Addresses");
    auto* start = new QLineEdit(this);
    auto* end = new QLineEdit(this);
    auto* note = new QLabel(
        "These values govern the starting block and ending block that will be read to compute the hash values of "
        "the disc",
        this);
    note->setWordWrap(true);
    auto* ok = new QPushButton("OK", this);
    auto* cancel = new QPushButton("Cancel", this);
    ok->setDefault(true);
    auto* fields = new QGridLayout;
    fields->addWidget(new QLabel("Start LBA", this), 0, 0);
    fields->addWidget(start, 0, 1);
    fields->addWidget(new QLabel("End LBA", this), 1, 0);
    fields->addWidget(end, 1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(note);
    layout->addLayout(buttons);

    BindControl(IDOK, ok);
    BindControl(IDCANCEL, cancel);
    BindControl(IDC_STARTLBA, start);
    BindControl(IDC_ENDLBA, end);
    MapNotify(IDC_STARTLBA, Notify::KillFocus, [this] { OnKillfocusStartLBA(); });
    MapNotify(IDC_ENDLBA, Notify::KillFocus, [this] { OnKillfocusEndLBA(); });
    // The texts always hold what the edits show, OK pressed at once included.
    for (int edit : {IDC_STARTLBA, IDC_ENDLBA})
        MapNotify(edit, Notify::EditChange, [this] {
            if (!m_bShowingTexts)
                UpdateData(true);
        });
}

void CGetMD5LBAs::SetStartLBA(int lba)
{
    m_strStartLBA = Format("%d", lba);
}

void CGetMD5LBAs::SetEndLBA(int lba)
{
    m_strEndLBA = Format("%d", lba);
}

int CGetMD5LBAs::GetStartLBA() const
{
    return ValueOf(m_strStartLBA);
}

int CGetMD5LBAs::GetEndLBA() const
{
    return ValueOf(m_strEndLBA);
}

bool CGetMD5LBAs::OnInitDialog()
{
    m_bShowingTexts = true;
    CDialog::OnInitDialog();
    m_bShowingTexts = false;
    m_nEndAtOpening = GetEndLBA();
    m_nStartAtOpening = GetStartLBA();
    return true;
}

void CGetMD5LBAs::DoDataExchange(CDataExchange& dx)
{
    DDX_Text(dx, IDC_ENDLBA, m_strEndLBA);
    DDX_Text(dx, IDC_STARTLBA, m_strStartLBA);
}

void CGetMD5LBAs::OnOK()
{
    // Enter ends the dialog without a change of focus: both are checked here too.
    if (OnKillfocusStartLBA() && OnKillfocusEndLBA())
        EndDialog(0);
}

bool CGetMD5LBAs::OnKillfocusStartLBA()
{
    UpdateData(true);
    bool valid = true;
    if (GetStartLBA() < 0) {
        AppMessageBox("Start LBA cannot be smaller than zero");
        SetStartLBA(m_nStartAtOpening);
        valid = false;
    }
    if (GetStartLBA() >= GetEndLBA()) {
        AppMessageBox("Start LBA cannot be greater or equal to End LBA");
        SetStartLBA(m_nStartAtOpening);
        valid = false;
    }
    ShowTexts();
    return valid;
}

bool CGetMD5LBAs::OnKillfocusEndLBA()
{
    UpdateData(true);
    const int end = GetEndLBA();
    bool valid = true;
    const auto refuse = [&](const char* message) {
        AppMessageBox(message);
        SetEndLBA(m_nEndAtOpening);
        valid = false;
    };
    if (end <= 0)
        refuse("End LBA must be above zero");
    if (end <= GetStartLBA())
        refuse("End LBA cannot be smaller or equal to Start LBA");
    if (end > m_nEndAtOpening)
        refuse("End LBA cannot be beyond end of the disc");
    ShowTexts();
    return valid;
}

void CGetMD5LBAs::ShowTexts()
{
    m_bShowingTexts = true;
    UpdateData(false);
    m_bShowingTexts = false;
}
