#include "gui/ui/MessageClassDlg.h"

#include "core/ui/TextLimit.h"
#include "gui/ui/Beep.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr std::size_t kMaxTitle = 99;
constexpr std::size_t kMaxMessage = 299;
}  // namespace

CMessageClassDlg::CMessageClassDlg(QWidget* parent) : CDialog(IDD, parent)
{
    auto* icon = new QLabel(this);
    auto* message = new QLabel("Text", this);
    message->setWordWrap(true);
    message->setMinimumWidth(300);
    auto* yes = new QPushButton("Yes", this);
    auto* ok = new QPushButton("OK", this);
    auto* no = new QPushButton("No", this);
    auto* noShow = new QCheckBox("Do not show this message again", this);

    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addWidget(message, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(noShow);
    buttons->addStretch();
    buttons->addWidget(yes);
    buttons->addWidget(ok);
    buttons->addWidget(no);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);

    BindControl(1486, icon);
    BindControl(1484, message);
    BindControl(IDC_YES, yes);
    BindControl(IDOK, ok);
    BindControl(IDC_NO, no);
    BindControl(IDC_NOSHOW, noShow);

    MapCommand(IDC_YES, [this] { EndDialog(1); });
    MapCommand(IDC_NO, [this] { EndDialog(0); });
    MapCommand(IDC_NOSHOW, [this] { ReadCheck(); });
    MapNotify(IDC_NOSHOW, Notify::KillFocus, [this] { ReadCheck(); });
}

void CMessageClassDlg::SetTitle(const std::string& title)
{
    m_strTitle = CutToCharacters(title, kMaxTitle);
}

void CMessageClassDlg::SetMessageText(const std::string& message)
{
    m_strMessage = CutToCharacters(message, kMaxMessage);
}

bool CMessageClassDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    Item<QLabel>(1486)->setPixmap(QPixmap::fromImage(LoadIconResource(m_nIconId)));
    setWindowTitle(QString::fromStdString(m_strTitle));
    ShowDlgItem(IDOK, m_bOkOnly);
    ShowDlgItem(IDC_YES, !m_bOkOnly);
    ShowDlgItem(IDC_NO, !m_bOkOnly);
    ShowDlgItem(IDC_NOSHOW, m_bShowCheckBox);
    SetDlgItemText(IDC_YES, m_strYes);
    SetDlgItemText(IDC_NO, m_strNo);
    if (m_bNoIsDefault && !m_bOkOnly) {
        for (QPushButton* button : findChildren<QPushButton*>())
            button->setAutoDefault(false);
        Item<QPushButton>(IDC_NO)->setDefault(true);
        Item<QPushButton>(IDC_NO)->setFocus();
    }
    MessageBeep(MB_SIMPLEBEEP);
    return true;
}

void CMessageClassDlg::DoDataExchange(CDataExchange& dx)
{
    DDX_Check(dx, IDC_NOSHOW, m_nCheck);
    DDX_Text(dx, 1484, m_strMessage);
}
