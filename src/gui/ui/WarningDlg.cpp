#include "gui/ui/WarningDlg.h"

#include "core/base/AppProfile.h"
#include "gui/ui/BaseDialog.h"
#include "gui/ui/Resources.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

CWarningDlg::CWarningDlg(QWidget* parent) : CDialog(IDD, parent)
{
    setWindowTitle("Advanced Tool Warning");
    auto* icon = new QLabel(this);
    icon->setPixmap(QPixmap::fromImage(LoadIconResource(IDI_WARNING)));
    auto* warning = new QLabel(
        "Warning this command has the capability of issuing low level commands to the device.  It is for advanced "
        "users only.  Damage could result from sending unknown or incorrect values to the device.",
        this);
    auto* disclaimer = new QLabel(
        "Neither the author, nor licensors or distributors accepts any responsibility for your correct or incorrect "
        "use of this functionality including any damage that may be caused to device or drive.",
        this);
    for (QLabel* text : {warning, disclaimer}) {
        text->setWordWrap(true);
        text->setMinimumWidth(360);
    }
    auto* accept = new QPushButton("I &Accept", this);
    auto* decline = new QPushButton("I &Dont Accept", this);
    auto* noShow = new QCheckBox("Do not show this warning again", this);

    auto* texts = new QVBoxLayout;
    texts->addWidget(warning);
    texts->addWidget(disclaimer);
    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addLayout(texts, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(noShow);
    buttons->addStretch();
    buttons->addWidget(accept);
    buttons->addWidget(decline);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);

    BindControl(IDOK, accept);
    BindControl(IDCANCEL, decline);
    BindControl(IDC_NOSHOW, noShow);
    MapCommand(IDC_NOSHOW, [this] { OnNoShowClicked(); });
}

bool CWarningDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    ApplyTranslucency(*this);
    return true;
}

void CWarningDlg::OnNoShowClicked()
{
    m_nCheck = IsDlgButtonChecked(IDC_NOSHOW);
    WriteAppProfileInt("WarningDialog", m_nCheck);
}
